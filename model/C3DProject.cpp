#include "C3DProject.h"

#include "MCommon.h"
#include "TaggedValue.h"

void C3DProject::SetGameType(int32_t value)
{
    m_gameType = (value < 0 || value >= GameTypeCount) ? 0 : value;
}

void C3DProject::SetActiveView(int16_t value)
{
    if (value >= ViewCount)
        m_activeView = ViewCount - 1;
    else if (value < 0)
        m_activeView = 0;
    else
        m_activeView = value;
}

QString C3DProject::View3dRatioIndex() const
{
    return MCommon::FormatInt(m_view3dRatioIndex);
}

void C3DProject::SetView3dRatioIndex(const QString& value)
{
    // The user's number conventions; a fraction rounds half to even.
    m_view3dRatioIndex = MCommon::ToInt32(TaggedValue(value), QStringLiteral("C3DProject.View3dRatioIndex"));
}

void C3DProject::SetDemoGoToMinute(int16_t value)
{
    if (value < 0)
        m_demoGoToMinute = 0;
    else if (value > MaxDemoGoToMinute)
        m_demoGoToMinute = MaxDemoGoToMinute;
    else
        m_demoGoToMinute = value;
}

void C3DProject::SetDemoGoToSecond(int16_t value)
{
    if (value < 0) {
        m_demoGoToSecond = 0;
    } else if (value > 59) {
        // At most 546 minutes carried onto at most 999: within 16 bits
        // before the minute's clamp.
        SetDemoGoToMinute(static_cast<int16_t>(m_demoGoToMinute + value / 60));
        m_demoGoToSecond = static_cast<int16_t>(value % 60);
    } else {
        m_demoGoToSecond = value;
    }
}

void C3DProject::SetDemoForwardSecond(int16_t value)
{
    if (value < 0)
        m_demoForwardSecond = 0;
    else if (value > MaxDemoForwardSecond)
        m_demoForwardSecond = MaxDemoForwardSecond;
    else
        m_demoForwardSecond = value;
}

void C3DProject::SetComment(const QString& value)
{
    // Spaces only: tabs and lone line ends are part of the notes.
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && value.at(last - 1) == QLatin1Char(' '))
        --last;
    QString trimmed = value.mid(first, last - first);
    if (QString(trimmed).remove(QLatin1String("\r\n")).isEmpty())
        trimmed.clear();
    m_comment = trimmed;
}

void C3DProject::AddViewPreset(const QString& text, int32_t slot)
{
    // The slots are kept as far as the last known one, so that a record
    // without slots equals one whose texts were appended to the list; the
    // list of texts may also have been changed directly since.
    if (m_viewPresetSlots.size() > m_viewPresetStrings.size())
        m_viewPresetSlots.resize(m_viewPresetStrings.size());
    if (slot >= 0) {
        while (m_viewPresetSlots.size() < m_viewPresetStrings.size())
            m_viewPresetSlots.append(-1);
        m_viewPresetSlots.append(slot);
    }
    m_viewPresetStrings.append(text);
}

int32_t C3DProject::ViewPresetSlot(qsizetype position) const
{
    if (position < 0 || position >= m_viewPresetStrings.size())
        return -1;
    return m_viewPresetSlots.value(position, -1);
}
