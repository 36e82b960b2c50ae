#include "CView.h"

#include "MCommon.h"
#include "RuvError.h"

#include <QStringList>

#include <optional>

namespace {

constexpr int CurrentFieldCount = 13;

// Pieces of a ";"-separated text; the empty text has none.
QStringList SplitFields(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

// The locale-free number at the start of a piece, rounded to a 32-bit
// integer; nothing when it does not fit.
std::optional<int32_t> LeadingInt(const QString& piece)
{
    try {
        return MCommon::CheckedRoundToInt32(MCommon::ReadLeadingNumber(piece));
    } catch (const RuvError&) {
        return std::nullopt;
    }
}

std::optional<float> LeadingSingle(const QString& piece)
{
    try {
        return MCommon::CheckedToSingle(MCommon::ReadLeadingNumber(piece));
    } catch (const RuvError&) {
        return std::nullopt;
    }
}

bool IsViewFlag(int32_t flag)
{
    return flag == CView::ViewXY || flag == CView::ViewXZ || flag == CView::ViewYZ
           || flag == CView::View3D;
}

// The three axes name x, y and z once each.
bool IsAxisSet(int32_t h, int32_t v, int32_t d)
{
    auto inRange = [](int32_t a) { return a >= 0 && a <= 2; };
    return inRange(h) && inRange(v) && inRange(d) && h != v && h != d && v != d;
}

int32_t OriginSlot(int32_t index, const char* member)
{
    if (index != 1 && index != 2)
        throw RuvError::Platform(RuvError::IndexOutOfRange,
                                 QStringLiteral("CView.") + QLatin1String(member));
    return index - 1;
}

} // namespace

void CView::Initialize(int32_t viewFlag, int32_t hAxis, int32_t vAxis, int32_t dAxis,
                       int32_t scaleIndex, int32_t minSize, int32_t maxSize,
                       bool showRuler, bool showGrid, bool enableAA)
{
    m_viewFlag = viewFlag;
    m_hAxis = hAxis;
    m_vAxis = vAxis;
    m_dAxis = dAxis;
    m_scaleIndex = scaleIndex;
    m_minSize = minSize;
    m_maxSize = maxSize;
    m_showRuler = showRuler;
    m_showGrid = showGrid;
    m_enableAA = enableAA;
}

float CView::OnclickOrigin(int32_t index) const
{
    return m_onclickOrigin[OriginSlot(index, "OnclickOrigin")];
}

void CView::SetOnclickOrigin(int32_t index, float value)
{
    m_onclickOrigin[OriginSlot(index, "OnclickOrigin")] = value;
}

float CView::CurrentOrigin(int32_t index) const
{
    return m_currentOrigin[OriginSlot(index, "CurrentOrigin")];
}

void CView::SetCurrentOrigin(int32_t index, float value)
{
    m_currentOrigin[OriginSlot(index, "CurrentOrigin")] = value;
}

QString CView::Serialize() const
{
    using MCommon::FormatBoolNumber;
    using MCommon::FormatInt;
    // Origins in the shortest text that reads back to the same float, so
    // that saving and loading a project never moves a view.
    const QStringList fields{
        QStringLiteral("v1"),
        FormatInt(m_viewFlag),
        FormatInt(m_hAxis),
        FormatInt(m_vAxis),
        FormatInt(m_dAxis),
        FormatInt(m_scaleIndex),
        FormatInt(m_minSize),
        FormatInt(m_maxSize),
        MCommon::FormatSingleRoundTrip(m_currentOrigin[0]),
        MCommon::FormatSingleRoundTrip(m_currentOrigin[1]),
        FormatBoolNumber(m_showRuler),
        FormatBoolNumber(m_showGrid),
        FormatBoolNumber(m_enableAA),
    };
    return fields.join(QLatin1Char(';'));
}

bool CView::Deserialize(const QString& text, bool invariantNumbers)
{
    // Spaces only: tabs and line ends are part of the text.
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    const QString trimmed = text.mid(first, last - first);
    if (trimmed.size() <= 2)
        return false;
    if (trimmed.startsWith(QLatin1String("v1")))
        return DeserializeCurrent(trimmed);
    return DeserializeOlder(trimmed, invariantNumbers);
}

bool CView::DeserializeCurrent(const QString& text)
{
    const QStringList pieces = SplitFields(text);
    if (pieces.size() < CurrentFieldCount)
        return false;

    // Read into a copy: a text from a damaged file must not leave the view
    // with an axis or a view bit that indexes out of range later.
    CView read = *this;
    int32_t* const intFields[] = {&read.m_viewFlag, &read.m_hAxis, &read.m_vAxis, &read.m_dAxis,
                                  &read.m_scaleIndex, &read.m_minSize, &read.m_maxSize};
    int piece = 1;
    for (int32_t* field : intFields) {
        if (const auto v = LeadingInt(pieces.at(piece)))
            *field = *v;
        ++piece;
    }
    for (float& origin : read.m_currentOrigin) {
        if (const auto v = LeadingSingle(pieces.at(piece)))
            origin = *v;
        ++piece;
    }
    bool* const boolFields[] = {&read.m_showRuler, &read.m_showGrid, &read.m_enableAA};
    for (bool* field : boolFields) {
        *field = MCommon::ReadLeadingNumber(pieces.at(piece)) != 0.0;
        ++piece;
    }

    if (!IsViewFlag(read.m_viewFlag) || !IsAxisSet(read.m_hAxis, read.m_vAxis, read.m_dAxis)
        || read.m_minSize <= 0 || read.m_maxSize < read.m_minSize)
        return false;

    read.Normalize();
    *this = read;
    return true;
}

bool CView::DeserializeOlder(const QString& text, bool invariantNumbers)
{
    const QStringList pieces = SplitFields(text);
    const qsizetype n = pieces.size();

    if (n > 0) {
        std::optional<int32_t> scale;
        if (invariantNumbers) {
            scale = LeadingInt(pieces.at(0));
        } else {
            int32_t v = 0;
            if (MCommon::TryToInt32(TaggedValue(pieces.at(0)), v))
                scale = v;
        }
        if (scale)
            m_scaleIndex = *scale;
    }
    for (qsizetype i = 1; i <= 2 && i < n; ++i) {
        std::optional<float> origin;
        if (invariantNumbers) {
            origin = LeadingSingle(pieces.at(i));
        } else {
            float v = 0.0f;
            if (MCommon::TryToSingle(TaggedValue(pieces.at(i)), v))
                origin = v;
        }
        if (origin)
            m_currentOrigin[i - 1] = *origin;
    }

    Normalize();

    bool* const boolFields[] = {&m_showRuler, &m_showGrid, &m_enableAA};
    for (qsizetype i = 3; i <= 5 && i < n; ++i) {
        bool v = false;
        if (MCommon::TryToBool(TaggedValue(pieces.at(i)), v))
            *boolFields[i - 3] = v;
    }
    return true;
}

void CView::Normalize()
{
    if (m_minSize > 0) {
        if (m_scaleIndex < 1) {
            m_scaleIndex = 1;
        } else {
            const double steps = static_cast<double>(m_maxSize) / static_cast<double>(m_minSize);
            if (steps < m_scaleIndex)
                m_scaleIndex = MCommon::CheckedRoundToInt32(steps, QStringLiteral("CView.Deserialize"));
        }
    }
    const float h = static_cast<float>(static_cast<double>(m_maxSize) / 2.0);
    for (float& origin : m_currentOrigin) {
        if (origin > h)
            origin = h;
        else if (origin < -h)
            origin = -h;
    }
}
