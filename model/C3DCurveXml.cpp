// The two stored forms of a curve: its XML element in the project file and
// the ";"-separated control line of the older project text.
//
// Readers never change the curve before the whole input has been checked:
// a project file that is damaged must not leave a half-read curve behind.

#include "C3DCurve.h"

#include "MCommon.h"
#include "MXml.h"
#include "RuvError.h"

#include <pugixml.hpp>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// Ids 1 to 24 make up a control's value list; 16 is always empty.
constexpr int kListFields = 24;
constexpr int kUnusedField = 16;

using FieldValues = std::array<float, kListFields>;

// The text of a field's last written value (at most 24 characters).
constexpr size_t kFieldText = 24;
struct FieldText {
    uint32_t bits = 0;
    uint8_t length = 0;  // 0: nothing written yet
    char text[kFieldText];
};

// A value that passed the number checks but that a property setter refused.
QString SetterRefusal(const QString& curveLabel, const RuvError& e)
{
    return QStringLiteral("Curve \"%1\": %2").arg(curveLabel, e.description());
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

enum class FieldResult { Ok, NotANumber, OutOfRange };

// One field of a value list, read locale-free: blanks around, an optional
// sign, digits with "." as decimal separator, an optional E exponent. The
// text goes straight to the nearest 32-bit float (not through a 64-bit one,
// whose second rounding could land on a neighbour). An empty field is 0.
FieldResult ParseInvariantField(const char* first, const char* last, float& out)
{
    while (first < last && IsBlank(*first))
        ++first;
    while (last > first && IsBlank(last[-1]))
        --last;
    out = 0.0f;
    if (first == last)
        return FieldResult::Ok;
    bool negative = false;
    if (*first == '+' || *first == '-') {
        negative = *first == '-';
        ++first;
    }
    // from_chars would also take "inf", "nan" and a second sign.
    if (first == last || !((*first >= '0' && *first <= '9') || *first == '.'))
        return FieldResult::NotANumber;

    float v = 0.0f;
    const auto res = std::from_chars(first, last, v, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument || res.ptr != last)
        return FieldResult::NotANumber;
    if (res.ec == std::errc::result_out_of_range) {
        // Too small for a float reads as 0; too large is refused.
        double d = 0.0;
        const auto dres = std::from_chars(first, last, d, std::chars_format::general);
        if (dres.ec == std::errc() && std::fabs(d) < 1.0)
            v = 0.0f;
        else
            return FieldResult::OutOfRange;
    }
    if (!std::isfinite(v))
        return FieldResult::OutOfRange;
    out = negative ? -v : v;
    return FieldResult::Ok;
}

// A field in the user's locale form (older texts written with the locale's
// decimal separator); "." is understood as well. An empty field is 0.
FieldResult ParseLocaleField(const QString& text, float& out)
{
    out = 0.0f;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return FieldResult::Ok;
    double d = 0.0;
    if (!MCommon::TryToDouble(TaggedValue(t), d))
        return FieldResult::NotANumber;
    const auto v = static_cast<float>(d);
    if (!std::isfinite(d) || !std::isfinite(v))
        return FieldResult::OutOfRange;
    out = v;
    return FieldResult::Ok;
}

QString FieldError(FieldResult r, int field, const QString& text)
{
    return r == FieldResult::OutOfRange
               ? QStringLiteral("field %1 (\"%2\") is out of range").arg(QString::number(field), text)
               : QStringLiteral("field %1 (\"%2\") is not a number").arg(QString::number(field), text);
}

// The fields of a value list given as UTF-8 (the XML attribute) into
// `values`, and their number into `fieldCount`. Only the first 24 count;
// field 16 is not read at all. Every value read is finite.
bool ParseValueList(const char* text, FieldValues& values, int& fieldCount, QString& error)
{
    const char* p = text;
    const char* end = text + std::strlen(text);
    int field = 0;
    while (field < kListFields) {
        ++field;
        float v = 0.0f;
        // The form this program writes - an optional "-" and plain digits
        // right up to the ";" - is read on the short way; anything else
        // (blanks, exponents, damage) goes through the full field reader.
        if (field != kUnusedField) {
            const bool negative = *p == '-';
            const char* stop = MCommon::ScanPlainSingle(p + (negative ? 1 : 0), end, v);
            if (stop && (stop == end || *stop == ';')) {
                values[static_cast<size_t>(field - 1)] = negative ? -v : v;
                if (stop == end)
                    break;
                p = stop + 1;
                continue;
            }
            v = 0.0f;
        }
        const char* sep = static_cast<const char*>(std::memchr(p, ';', static_cast<size_t>(end - p)));
        const char* fieldEnd = sep ? sep : end;
        if (field != kUnusedField) {
            const FieldResult r = ParseInvariantField(p, fieldEnd, v);
            if (r != FieldResult::Ok) {
                error = FieldError(r, field, QString::fromUtf8(p, fieldEnd - p));
                return false;
            }
        }
        values[static_cast<size_t>(field - 1)] = v;
        if (!sep)
            break;
        p = sep + 1;
    }
    fieldCount = field;
    return true;
}

// The 24 list values of a control as the property getters give them (the
// round-trip tests compare them with value()), read straight from the
// record: a curve file holds over a hundred thousand of them.
void ListValues(const ControlRecord& r, FieldValues& v)
{
    v = {r.X, r.Y, r.Z, r.Pitch, r.Yaw, r.Roll, r.Fov, r.Timescale,
         r.Hide != 0 ? 1.0f : 0.0f, r.WglAmp, static_cast<float>(r.WglFreq),
         r.Tan1X, r.Tan1Y, r.Tan1Z, static_cast<float>(r.Tan1C), 0.0f,
         r.Tan2X, r.Tan2Y, r.Tan2Z, static_cast<float>(r.Tan2C),
         static_cast<float>(r.Time), static_cast<float>(r.TargetX),
         static_cast<float>(r.TargetY), static_cast<float>(r.TargetZ)};
}

// The shortest text that reads back to the very same 64-bit float, laid out
// as the 15-digit form whenever that already reads back.
QString FormatDoubleShortest(double x)
{
    for (int digits = 15; digits < 17; ++digits) {
        const QString text = MCommon::FormatNumber(x, digits);
        double back = 0.0;
        if (MCommon::ParseNumber(text, back) && back == x)
            return text;
    }
    return MCommon::FormatNumber(x, 17);
}

// A text attribute; the short ASCII commands of controls go in without a
// UTF-8 copy on the heap for each.
void SetAttributeText(pugi::xml_attribute attribute, const QString& text)
{
    char ascii[256];
    const qsizetype n = text.size();
    if (n < qsizetype(sizeof ascii)) {
        const QChar* u = text.constData();
        qsizetype i = 0;
        for (; i < n && u[i].unicode() != 0 && u[i].unicode() < 0x80; ++i)
            ascii[i] = static_cast<char>(u[i].unicode());
        if (i == n) {
            attribute.set_value(ascii, static_cast<size_t>(n));
            return;
        }
    }
    attribute.set_value(text.toUtf8().constData());
}

QString BoolWord(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

bool IsXmlNameText(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool start = c.isLetter() || c == u'_';
        if (i == 0 ? !start : !(start || c.isDigit() || c == u'-' || c == u'.'))
            return false;
    }
    return true;
}

} // namespace

// ---- The raw control line ----------------------------------------------------

bool C3DCurve::AddControlFromRawData(QString& line, const QString& prefix, bool invariantNumbers,
                                     int32_t& index, QString* error)
{
    index = 0;
    if (prefix.isEmpty()) {
        if (line.isEmpty())
            return true;
    } else {
        if (line.size() <= prefix.size())
            return true;
        // The caller has already recognised the line; its first characters
        // are dropped whatever they are.
        line.remove(0, prefix.size());
    }

    const QStringList parts = line.split(u';');
    const int m = std::min<int>(static_cast<int>(parts.size()), kListFields);
    FieldValues values{};
    for (int k = 1; k <= m; ++k) {
        if (k == kUnusedField)
            continue;
        const QString& part = parts[k - 1];
        float v = 0.0f;
        FieldResult r = FieldResult::Ok;
        if (invariantNumbers) {
            const QByteArray utf8 = part.toUtf8();
            r = ParseInvariantField(utf8.constData(), utf8.constData() + utf8.size(), v);
        } else {
            r = ParseLocaleField(part, v);
        }
        if (r != FieldResult::Ok) {
            if (error)
                *error = QStringLiteral("Control line \"%1\": %2.").arg(line, FieldError(r, k, part));
            return false;
        }
        values[static_cast<size_t>(k - 1)] = v;
    }
    // The control array ends after MAX_CONTROL controls and their end
    // neighbours: a longer list is refused, not cut, so that nothing of the
    // user's path vanishes without a word.
    if (!CanAddControl(1)) {
        if (error)
            *error = QStringLiteral("The curve \"%1\" already holds %2 controls; a curve holds at most %2.")
                         .arg(m_name, QString::number(MAX_CONTROL));
        return false;
    }

    const int32_t n = ++m_controlsCount;
    mControls[static_cast<size_t>(n)] = NewControlRecord();
    for (int k = 1; k <= m; ++k)
        SetValue(n, k, TaggedValue(values[static_cast<size_t>(k - 1)]));
    AfterControlAppended(false, false);
    index = n;
    return true;
}

// ---- The XML element -----------------------------------------------------------

void C3DCurve::Serialize(pugi::xml_document& doc, pugi::xml_node& parent,
                         const QString& elementName) const
{
    if (!IsXmlNameText(elementName))
        throw RuvError::Platform(RuvError::InvalidArgument, QStringLiteral("C3DCurve.Serialize"));
    const QByteArray name = elementName.toUtf8();
    pugi::xml_node element = parent.append_child(name.constData());
    try {
        MXml::XmlSetAttribute(doc, element, QStringLiteral("name"), m_name);
        MXml::XmlSetAttribute(doc, element, QStringLiteral("visible"), BoolWord(m_isVisible));
        MXml::XmlSetAttribute(doc, element, QStringLiteral("enabled"), BoolWord(m_isEnabled));
        MXml::XmlSetAttribute(doc, element, QStringLiteral("show_arrow"), BoolWord(m_showArrow));
        MXml::XmlSetAttribute(doc, element, QStringLiteral("show_times"), BoolWord(m_showTimes));
        MXml::XmlSetAttribute(doc, element, QStringLiteral("show_tangent"), BoolWord(m_showTangent));
        MXml::XmlSetAttribute(doc, element, QStringLiteral("start_time"), FormatDoubleShortest(m_startTime));

        pugi::xml_node controls = element.append_child("Controls");
        // 24 fields of at most 24 characters and their ";" (the length goes
        // to pugixml, no terminating zero), and room to copy a whole
        // remembered text past the last one.
        char list[kListFields * 25 + kFieldText] = {};
        FieldValues values;
        // Many fields keep their value from control to control (field of
        // view, wiggle, edit masks): the text of each field's last value is
        // kept and copied when the next control has the very same bits.
        std::array<FieldText, kListFields> last{};
        for (int32_t i = 1; i <= m_controlsCount; ++i) {
            const ControlRecord& record = mControls[static_cast<size_t>(i)];
            ListValues(record, values);
            char* p = list;
            for (int32_t id = 1; id <= kListFields; ++id) {
                // Shortest round-trip text: 7 digits do not always give the
                // same float back.
                if (id != kUnusedField) {
                    FieldText& known = last[static_cast<size_t>(id - 1)];
                    const float v = values[static_cast<size_t>(id - 1)];
                    if (known.length == 0 || std::bit_cast<uint32_t>(v) != known.bits) {
                        char* end = MCommon::FormatSingleRoundTrip(p, v);
                        known.bits = std::bit_cast<uint32_t>(v);
                        known.length = static_cast<uint8_t>(end - p);
                        std::memcpy(known.text, p, kFieldText);
                        p = end;
                    } else {
                        std::memcpy(p, known.text, kFieldText);
                        p += known.length;
                    }
                }
                *p++ = ';';
            }
            pugi::xml_node control = controls.append_child("Control");
            control.append_attribute("value").set_value(list, static_cast<size_t>(p - list));
            SetAttributeText(control.append_attribute("command"), record.Command);
        }
    } catch (...) {
        parent.remove_child(element);
        throw;
    }
}

bool C3DCurve::ReadElement(const pugi::xml_node& node, QString& error)
{
    if (!node) {
        error = QStringLiteral("The curve element is missing.");
        return false;
    }
    const QString name = MXml::XmlGetAttribute(node, QStringLiteral("name"));
    const QString label = name.isEmpty() ? QStringLiteral("NoName") : name;
    const QString startText = MXml::XmlGetAttribute(node, QStringLiteral("start_time")).trimmed();
    double startTime = 0.0;
    if (!startText.isEmpty() && !MCommon::ParseNumber(startText, startTime)) {
        error = QStringLiteral("Curve \"%1\": the start time \"%2\" is not a number.").arg(label, startText);
        return false;
    }
    if (!std::isfinite(startTime)) {
        error = QStringLiteral("Curve \"%1\": the start time \"%2\" is out of range.").arg(label, startText);
        return false;
    }
    SetName(name);
    m_isVisible = MXml::XmlGetAttributeBool(node, QStringLiteral("visible"));
    m_isEnabled = MXml::XmlGetAttributeBool(node, QStringLiteral("enabled"));
    m_showArrow = MXml::XmlGetAttributeBool(node, QStringLiteral("show_arrow"));
    m_showTimes = MXml::XmlGetAttributeBool(node, QStringLiteral("show_times"));
    m_showTangent = MXml::XmlGetAttributeBool(node, QStringLiteral("show_tangent"));
    m_startTime = startTime;

    MXml::XmlNodeList nodes;
    MXml::XmlTrySelectNodes(node, QStringLiteral("Controls/Control"), nodes);
    int32_t read = 0;
    try {
        for (const pugi::xml_node& c : nodes) {
            // One walk over the attributes finds both (the first of each
            // name counts, as a lookup by name would find it).
            pugi::xml_attribute valueAttr;
            pugi::xml_attribute commandAttr;
            for (pugi::xml_attribute a = c.first_attribute(); a; a = a.next_attribute()) {
                const char* n = a.name();
                if (!valueAttr && MXml::XmlNameIs(n, "value"))
                    valueAttr = a;
                else if (!commandAttr && MXml::XmlNameIs(n, "command"))
                    commandAttr = a;
            }
            if (!valueAttr || valueAttr.value()[0] == '\0')
                continue;  // no control, and its command goes with it
            if (m_controlsCount >= MAX_CONTROL) {
                error = QStringLiteral("Curve \"%1\" holds more than %2 controls; a curve holds at most %2.")
                            .arg(label, QString::number(MAX_CONTROL));
                return false;
            }
            ++read;
            // All fields of the control are read before any is stored, so
            // that a field that is no number is reported before a setter
            // refuses an earlier one.
            FieldValues values{};
            int fieldCount = 0;
            QString fieldError;
            if (!ParseValueList(valueAttr.value(), values, fieldCount, fieldError)) {
                error = QStringLiteral("Curve \"%1\", control %2: %3.")
                            .arg(label, QString::number(read), fieldError);
                return false;
            }
            // The count is checked above, so the record lies within the
            // array: it is filled straight, not field by field through the
            // setters' index checks.
            const int32_t n = ++m_controlsCount;
            ControlRecord& record = mControls[static_cast<size_t>(n)];
            record = NewControlRecord();
            StoreNumbers(record, n, values.data(), 1, fieldCount);
            const char* command = commandAttr.value();
            if (command[0] != '\0')
                record.Command = QString::fromUtf8(command);
        }
    } catch (const RuvError& e) {
        error = SetterRefusal(label, e);
        return false;
    }
    return true;
}

bool C3DCurve::Deserialize(const pugi::xml_node& node, QString* error)
{
    // Read into a copy that replaces this curve only when all went through.
    C3DCurve work = *this;
    QString message;
    if (!work.ReadElement(node, message)) {
        if (error)
            *error = message;
        return false;
    }
    // Assignment keeps this curve's listeners (and raises nothing).
    *this = std::move(work);
    return true;
}

std::unique_ptr<C3DCurve> C3DCurve::FromElement(const pugi::xml_node& node, int32_t gameType,
                                                QString* error)
{
    // No copy is needed to keep anything safe: a refused element takes the
    // new curve with it.
    auto curve = std::make_unique<C3DCurve>();
    curve->mGameType = gameType;
    QString message;
    if (curve->ReadElement(node, message))
        return curve;
    if (error)
        *error = message;
    return nullptr;
}
