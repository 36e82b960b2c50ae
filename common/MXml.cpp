#include "MXml.h"

#include "MCommon.h"
#include "RuvError.h"
#include "TaggedValue.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace MXml {

namespace {

QString FromUtf8(const char* text)
{
    return QString::fromUtf8(text);
}

bool IsNameStart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u == ':';
    return c.isLetter() || c.isHighSurrogate() || c.isLowSurrogate();
}

bool IsNameChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return IsNameStart(c) || (u >= '0' && u <= '9') || u == '-' || u == '.';
    return IsNameStart(c) || c.isDigit() || c.isMark() || u == 0xB7;
}

bool IsXmlName(QStringView name)
{
    if (name.isEmpty() || !IsNameStart(name.front()))
        return false;
    for (QChar c : name.sliced(1))
        if (!IsNameChar(c))
            return false;
    return true;
}

void RequireXmlName(const QString& name, const char* source)
{
    if (!IsXmlName(name))
        throw RuvError(RuvError::InvalidArgument,
                       QStringLiteral("\"%1\" is not a valid XML name").arg(name),
                       QStringLiteral("MXml.") + QLatin1String(source));
}

// The steps of a plain path ("Curves/Curve"); empty when the path is
// anything else and must go to the XPath engine.
std::vector<QByteArray> PlainSteps(const QString& path)
{
    std::vector<QByteArray> steps;
    for (QStringView step : QStringView(path).split(QLatin1Char('/'))) {
        if (!IsXmlName(step))
            return {};
        steps.push_back(step.toUtf8());
    }
    return steps;
}

pugi::xpath_node_set SelectByXPath(const pugi::xml_node& node, const QString& path, const char* source)
{
    try {
        return node.select_nodes(path.toUtf8().constData());
    } catch (const pugi::xpath_exception& e) {
        throw RuvError(RuvError::InvalidArgument,
                       QStringLiteral("The selection path \"%1\" cannot be read: %2")
                           .arg(path, FromUtf8(e.what())),
                       QStringLiteral("MXml.") + QLatin1String(source));
    }
}

// Depth-first in document order: the first node the steps lead to.
pugi::xml_node FirstByPlainPath(const pugi::xml_node& node, const std::vector<QByteArray>& steps,
                                size_t depth)
{
    if (depth == steps.size())
        return node;
    const char* name = steps[depth].constData();
    for (pugi::xml_node child = node.child(name); child; child = child.next_sibling(name)) {
        if (pugi::xml_node found = FirstByPlainPath(child, steps, depth + 1))
            return found;
    }
    return {};
}

pugi::xml_node SelectFirst(const pugi::xml_node& node, const QString& path, const char* source)
{
    if (!node)
        return {};
    const std::vector<QByteArray> steps = PlainSteps(path);
    if (!steps.empty())
        return FirstByPlainPath(node, steps, 0);
    pugi::xpath_node_set set = SelectByXPath(node, path, source);
    set.sort();
    for (const pugi::xpath_node& n : set)
        if (n.node())
            return n.node();
    return {};
}

// A name as UTF-8 for the DOM calls; the names the program uses are short
// and ASCII, and are converted without allocating.
class Utf8Name
{
public:
    explicit Utf8Name(const QString& name)
    {
        const qsizetype n = name.size();
        if (n < qsizetype(sizeof m_buffer)) {
            const QChar* u = name.constData();
            qsizetype i = 0;
            for (; i < n && u[i].unicode() != 0 && u[i].unicode() < 0x80; ++i)
                m_buffer[i] = static_cast<char>(u[i].unicode());
            if (i == n) {
                m_buffer[n] = '\0';
                m_text = m_buffer;
                return;
            }
        }
        m_heap = name.toUtf8();
        m_text = m_heap.constData();
    }
    const char* get() const { return m_text; }

private:
    char m_buffer[64];
    QByteArray m_heap;
    const char* m_text = nullptr;
};

struct ByteArrayWriter : pugi::xml_writer
{
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        // pugixml hands over pieces of a few kilobytes, and a project runs
        // to megabytes: room is made in large steps, not piece by piece.
        const auto n = static_cast<qsizetype>(size);
        if (bytes.capacity() - bytes.size() < n)
            bytes.reserve(std::max({bytes.size() + n, 2 * bytes.capacity(), qsizetype{1} << 16}));
        bytes.append(static_cast<const char*>(data), n);
    }
};

} // namespace

bool XmlTrySelectSingleNode(const pugi::xml_node& node, const QString& path, pugi::xml_node& out)
{
    out = SelectFirst(node, path, "XmlTrySelectSingleNode");
    return static_cast<bool>(out);
}

bool XmlTrySelectNodes(const pugi::xml_node& node, const QString& path, XmlNodeList& out)
{
    out.clear();
    if (!node)
        return true;
    const std::vector<QByteArray> steps = PlainSteps(path);
    if (!steps.empty()) {
        // Level by level; each level stays in document order because the
        // nodes of the level before are.
        XmlNodeList level{node};
        for (const QByteArray& step : steps) {
            XmlNodeList next;
            for (const pugi::xml_node& n : level)
                for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
                    if (c.type() == pugi::node_element && XmlNameIs(c.name(), step.constData()))
                        next.push_back(c);
            level.swap(next);
            if (level.empty())
                break;
        }
        out = std::move(level);
        return true;
    }
    pugi::xpath_node_set set = SelectByXPath(node, path, "XmlTrySelectNodes");
    set.sort();
    for (const pugi::xpath_node& n : set)
        if (n.node())
            out.push_back(n.node());
    return true;
}

void XmlAppendValueElement(pugi::xml_document& document, pugi::xml_node& parent,
                           const QString& name, const QString& value)
{
    RequireXmlName(name, "XmlAppendValueElement");
    pugi::xml_node element = parent.append_child(name.toUtf8().constData());
    XmlSetAttribute(document, element, QStringLiteral("value"), value);
}

QString XmlGetChildValue(const pugi::xml_node& node, const QString& path)
{
    return XmlGetAttribute(SelectFirst(node, path, "XmlGetChildValue"), QStringLiteral("value"));
}

double XmlGetChildValueDbl(const pugi::xml_node& node, const QString& path)
{
    return MCommon::ReadLeadingNumber(XmlGetChildValue(node, path));
}

int32_t XmlGetChildValueLng(const pugi::xml_node& node, const QString& path)
{
    return MCommon::SafeCLng(TaggedValue(XmlGetChildValueDbl(node, path)), 0);
}

void XmlSetAttribute(pugi::xml_document& /*document*/, pugi::xml_node& element,
                     const QString& name, const QString& value)
{
    RequireXmlName(name, "XmlSetAttribute");
    const Utf8Name key(name);
    pugi::xml_attribute attribute = element.attribute(key.get());
    if (!attribute)
        attribute = element.append_attribute(key.get());
    attribute.set_value(value.toUtf8().constData());
}

QString XmlGetAttribute(const pugi::xml_node& node, const QString& name)
{
    if (!node)
        return {};
    const pugi::xml_attribute attribute = node.attribute(Utf8Name(name).get());
    if (!attribute)
        return {};
    return FromUtf8(attribute.value());
}

double XmlGetAttributeDbl(const pugi::xml_node& node, const QString& name)
{
    return MCommon::ReadLeadingNumber(XmlGetAttribute(node, name));
}

int32_t XmlGetAttributeLng(const pugi::xml_node& node, const QString& name)
{
    return MCommon::SafeCLng(TaggedValue(XmlGetAttributeDbl(node, name)), 0);
}

bool XmlGetAttributeBool(const pugi::xml_node& node, const QString& name)
{
    const QString text = XmlGetAttribute(node, name);
    if (text.isEmpty())
        return false;
    return MCommon::SafeCBool(TaggedValue(text));
}

void XmlAppendCDataElement(pugi::xml_document& /*document*/, pugi::xml_node& parent,
                           const QString& name, const QString& text)
{
    RequireXmlName(name, "XmlAppendCDataElement");
    pugi::xml_node element = parent.append_child(name.toUtf8().constData());
    element.append_child(pugi::node_cdata).set_value(text.toUtf8().constData());
}

QString XmlGetChildText(const pugi::xml_node& node, const QString& path, bool normaliseLineEnds)
{
    const pugi::xml_node selected = SelectFirst(node, path, "XmlGetChildText");
    if (!selected)
        return {};
    // A text holding "]]>" is written as adjacent CDATA sections: reading
    // only the first would cut it there.
    QByteArray utf8;
    for (pugi::xml_node child = selected.first_child();
         child && (child.type() == pugi::node_cdata || child.type() == pugi::node_pcdata);
         child = child.next_sibling())
        utf8.append(child.value());
    QString text = QString::fromUtf8(utf8);
    if (normaliseLineEnds) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    return text;
}

namespace {

// Line ends stay as the file holds them: XmlGetChildText normalises them
// where the caller asks for it.
constexpr unsigned kParseOptions = pugi::parse_default & ~pugi::parse_eol;

bool LoadResult(pugi::xml_document& document, const pugi::xml_parse_result& result, QString* error)
{
    if (result)
        return true;
    if (error)
        *error = QStringLiteral("%1 (at byte %2)")
                     .arg(FromUtf8(result.description()))
                     .arg(static_cast<qint64>(result.offset));
    document.reset();
    return false;
}

} // namespace

bool XmlLoadDocument(pugi::xml_document& document, const QByteArray& bytes, QString* error)
{
    document.reset();
    return LoadResult(document,
                      document.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                                           kParseOptions, pugi::encoding_auto),
                      error);
}

bool XmlLoadDocumentInPlace(pugi::xml_document& document, QByteArray& bytes, QString* error)
{
    document.reset();
    return LoadResult(document,
                      document.load_buffer_inplace(bytes.data(), static_cast<size_t>(bytes.size()),
                                                   kParseOptions, pugi::encoding_auto),
                      error);
}

QByteArray XmlSaveDocument(const pugi::xml_document& document)
{
    ByteArrayWriter writer;
    document.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    return writer.bytes;
}

} // namespace MXml
