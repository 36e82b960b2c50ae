#include "MXml.h"

#include "RuvError.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace MXml;

namespace {

class XmlLocale
{
public:
    explicit XmlLocale(const char* name)
    {
        std::setlocale(LC_ALL, name);
        QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
    }
    ~XmlLocale()
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
};

// A small project-like document read from text.
class MXmlDoc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QByteArray text =
            "<?xml version=\"1.0\"?>\n"
            "<Project>\n"
            "\t<Version value=\"1\"/>\n"
            "\t<NoValue other=\"x\"/>\n"
            "\t<Half value=\"12.5abc\"/>\n"
            "\t<Odd value=\"13.5\"/>\n"
            "\t<Comma value=\"3,5\"/>\n"
            "\t<Big value=\"1e300\"/>\n"
            "\t<Curves>\n"
            "\t\t<Curve name=\"a\"/>\n"
            "\t\t<Curve name=\"b\"/>\n"
            "\t</Curves>\n"
            "\t<Curves>\n"
            "\t\t<Curve name=\"c\"/>\n"
            "\t</Curves>\n"
            "\t<Comment><![CDATA[a\rb\nc]]></Comment>\n"
            "\t<Empty></Empty>\n"
            "\t<Nested><Inner/>text</Nested>\n"
            "\t<Flags one=\"1\" minus=\"-1\" two=\"2\" word=\"true\" Word=\"FALSE\" zero=\"0\" empty=\"\" yes=\"yes\"/>\n"
            "</Project>\n";
        QString error;
        ASSERT_TRUE(XmlLoadDocument(doc, text, &error)) << error.toStdString();
        root = doc.document_element();
    }

    pugi::xml_document doc;
    pugi::xml_node root;
};

QString Names(const XmlNodeList& list)
{
    QStringList names;
    for (const auto& n : list)
        names << XmlGetAttribute(n, QStringLiteral("name"));
    return names.join(QLatin1Char(','));
}

} // namespace

TEST_F(MXmlDoc, ValueElementsReadEmptyOrZeroWhenMissing)
{
    EXPECT_EQ(XmlGetChildValue(root, QStringLiteral("Version")), QStringLiteral("1"));
    EXPECT_EQ(XmlGetChildValueLng(root, QStringLiteral("Version")), 1);
    for (const char* path : {"NoValue", "Missing", "Curves/Missing", "Version/Deeper"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(XmlGetChildValue(root, QString::fromLatin1(path)), QString());
        EXPECT_EQ(XmlGetChildValueLng(root, QString::fromLatin1(path)), 0);
        EXPECT_EQ(XmlGetChildValueDbl(root, QString::fromLatin1(path)), 0.0);
    }
    // A null node reads as empty too.
    EXPECT_EQ(XmlGetChildValue(pugi::xml_node(), QStringLiteral("Version")), QString());
}

TEST_F(MXmlDoc, NumbersReadLocaleFree)
{
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        SCOPED_TRACE(locale);
        XmlLocale scope(locale);
        EXPECT_EQ(XmlGetChildValueDbl(root, QStringLiteral("Half")), 12.5);
        EXPECT_EQ(XmlGetChildValueLng(root, QStringLiteral("Half")), 12);
        EXPECT_EQ(XmlGetChildValueLng(root, QStringLiteral("Odd")), 14);
        EXPECT_EQ(XmlGetChildValueDbl(root, QStringLiteral("Comma")), 3.0);
        // Out of the 32-bit range gives 0.
        EXPECT_EQ(XmlGetChildValueLng(root, QStringLiteral("Big")), 0);
    }
}

TEST_F(MXmlDoc, AttributeReaders)
{
    const pugi::xml_node flags = root.child("Flags");
    struct Case { const char* name; bool value; };
    const Case cases[] = {
        {"one", true}, {"minus", true}, {"two", true}, {"word", true},
        {"Word", false}, {"zero", false}, {"empty", false}, {"yes", false}, {"missing", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(XmlGetAttributeBool(flags, QString::fromLatin1(c.name)), c.value);
    }
    EXPECT_EQ(XmlGetAttributeLng(flags, QStringLiteral("two")), 2);
    EXPECT_EQ(XmlGetAttributeDbl(flags, QStringLiteral("minus")), -1.0);
    EXPECT_EQ(XmlGetAttribute(flags, QStringLiteral("missing")), QString());
    EXPECT_EQ(XmlGetAttribute(pugi::xml_node(), QStringLiteral("one")), QString());
    EXPECT_FALSE(XmlGetAttributeBool(pugi::xml_node(), QStringLiteral("one")));
}

TEST_F(MXmlDoc, SelectionPaths)
{
    pugi::xml_node found;
    ASSERT_TRUE(XmlTrySelectSingleNode(root, QStringLiteral("Curves/Curve"), found));
    EXPECT_EQ(XmlGetAttribute(found, QStringLiteral("name")), QStringLiteral("a"));
    EXPECT_FALSE(XmlTrySelectSingleNode(root, QStringLiteral("Curves/Nothing"), found));
    EXPECT_FALSE(found);
    // From the document: the root element is the first step.
    ASSERT_TRUE(XmlTrySelectSingleNode(doc, QStringLiteral("Project/Version"), found));

    XmlNodeList list;
    ASSERT_TRUE(XmlTrySelectNodes(root, QStringLiteral("Curves/Curve"), list));
    EXPECT_EQ(Names(list), QStringLiteral("a,b,c"));
    ASSERT_TRUE(XmlTrySelectNodes(root, QStringLiteral("Nothing/Curve"), list));
    EXPECT_TRUE(list.empty());
    // Names are case-sensitive.
    ASSERT_TRUE(XmlTrySelectNodes(root, QStringLiteral("curves"), list));
    EXPECT_TRUE(list.empty());
    // Other expressions go to XPath and agree with it.
    ASSERT_TRUE(XmlTrySelectNodes(root, QStringLiteral("Curves/Curve[@name='b']"), list));
    EXPECT_EQ(Names(list), QStringLiteral("b"));
    ASSERT_TRUE(XmlTrySelectSingleNode(root, QStringLiteral("Curves[2]/Curve"), found));
    EXPECT_EQ(XmlGetAttribute(found, QStringLiteral("name")), QStringLiteral("c"));
}

TEST_F(MXmlDoc, UnreadablePathRaises)
{
    pugi::xml_node found;
    XmlNodeList list;
    for (const char* path : {"Curves/[", "///", ""}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(XmlTrySelectSingleNode(root, QString::fromLatin1(path), found), RuvError);
        EXPECT_THROW(XmlTrySelectNodes(root, QString::fromLatin1(path), list), RuvError);
    }
}

TEST_F(MXmlDoc, ChildText)
{
    const QString raw = XmlGetChildText(root, QStringLiteral("Comment"), false);
    EXPECT_EQ(raw, QStringLiteral("a\rb\nc"));
    EXPECT_EQ(XmlGetChildText(root, QStringLiteral("Comment"), true), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(XmlGetChildText(root, QStringLiteral("Empty"), true), QString());
    EXPECT_EQ(XmlGetChildText(root, QStringLiteral("Missing"), true), QString());
    // The first child is an element: no text.
    EXPECT_EQ(XmlGetChildText(root, QStringLiteral("Nested"), false), QString());
}

TEST(MXml, LineEndsNormalise)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"a\r\nb", "a\r\nb"}, {"a\rb", "a\r\nb"}, {"a\nb", "a\r\nb"},
        {"\r\r\n\n", "\r\n\r\n\r\n"}, {"", ""}, {"no end", "no end"},
    };
    for (const auto& c : cases) {
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("R");
        XmlAppendCDataElement(doc, root, QStringLiteral("Comment"), QString::fromLatin1(c.in));
        // Through bytes, so that the parser's own line-end handling counts.
        pugi::xml_document read;
        ASSERT_TRUE(XmlLoadDocument(read, XmlSaveDocument(doc)));
        const pugi::xml_node r = read.document_element();
        EXPECT_EQ(XmlGetChildText(r, QStringLiteral("Comment"), false), QString::fromLatin1(c.in));
        EXPECT_EQ(XmlGetChildText(r, QStringLiteral("Comment"), true), QString::fromLatin1(c.out));
    }
}

TEST(MXml, WrittenTextsReadBackUnchanged)
{
    const QString texts[] = {
        QStringLiteral("plain"),
        QStringLiteral("ends in ]]> and goes on ]]]]>"),
        QStringLiteral("<tag> & \"quotes\" 'apos'"),
        QStringLiteral("tab\there\r\nline"),
        QString::fromUtf8("Umlaute äöü ß, € und 𝄞"),
        QStringLiteral("   spaces around   "),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("R");
        XmlAppendCDataElement(doc, root, QStringLiteral("Comment"), text);
        XmlAppendValueElement(doc, root, QStringLiteral("Command"), text);
        XmlSetAttribute(doc, root, QStringLiteral("note"), text);
        pugi::xml_document read;
        QString error;
        ASSERT_TRUE(XmlLoadDocument(read, XmlSaveDocument(doc), &error)) << error.toStdString();
        const pugi::xml_node r = read.document_element();
        EXPECT_EQ(XmlGetChildText(r, QStringLiteral("Comment"), false), text);
        EXPECT_EQ(XmlGetChildValue(r, QStringLiteral("Command")), text);
        EXPECT_EQ(XmlGetAttribute(r, QStringLiteral("note")), text);
    }
}

TEST(MXml, AttributesKeepTheirFirstOrderAndSavesAreStable)
{
    auto build = [](pugi::xml_document& doc) {
        pugi::xml_node root = doc.append_child("Project");
        XmlAppendValueElement(doc, root, QStringLiteral("Version"), QStringLiteral("1"));
        pugi::xml_node view = root.append_child("View");
        XmlSetAttribute(doc, view, QStringLiteral("active"), QStringLiteral("2"));
        XmlSetAttribute(doc, view, QStringLiteral("camera"), QStringLiteral("0;0;0;0;0;0;90;50000"));
        XmlSetAttribute(doc, view, QStringLiteral("active"), QStringLiteral("3"));
        XmlAppendCDataElement(doc, root, QStringLiteral("Comment"), QStringLiteral("x"));
    };
    pugi::xml_document first;
    build(first);
    const QByteArray bytes = XmlSaveDocument(first);
    EXPECT_EQ(bytes,
              QByteArray("<?xml version=\"1.0\"?>\n"
                         "<Project>\n"
                         "\t<Version value=\"1\" />\n"
                         "\t<View active=\"3\" camera=\"0;0;0;0;0;0;90;50000\" />\n"
                         "\t<Comment><![CDATA[x]]></Comment>\n"
                         "</Project>\n"));
    pugi::xml_document second;
    build(second);
    EXPECT_EQ(XmlSaveDocument(second), bytes);
    // Loading and saving again gives the very same bytes.
    pugi::xml_document reread;
    ASSERT_TRUE(XmlLoadDocument(reread, bytes));
    EXPECT_EQ(XmlSaveDocument(reread), bytes);
}

TEST(MXml, InvalidNamesRaiseAndAddNothing)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("R");
    for (const char* name : {"", "1abc", "a b", "a<b", "-x"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(XmlAppendValueElement(doc, root, QString::fromLatin1(name), QStringLiteral("v")), RuvError);
        EXPECT_THROW(XmlAppendCDataElement(doc, root, QString::fromLatin1(name), QStringLiteral("v")), RuvError);
        EXPECT_THROW(XmlSetAttribute(doc, root, QString::fromLatin1(name), QStringLiteral("v")), RuvError);
    }
    EXPECT_FALSE(root.first_child());
    EXPECT_FALSE(root.first_attribute());
}

TEST(MXml, LoadRefusesDamagedTextsWithAMessage)
{
    const char* const texts[] = {
        "",
        "not xml at all",
        "<Project><Version value=\"1\"/>",
        "<Project><Version value=\"1></Project>",
        "<Project></Other>",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        pugi::xml_document doc;
        doc.append_child("Old");
        QString error;
        EXPECT_FALSE(XmlLoadDocument(doc, QByteArray(text), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(doc.first_child());
        // Parsing inside the caller's bytes refuses the same way.
        doc.append_child("Old");
        QByteArray bytes(text);
        QString inPlaceError;
        EXPECT_FALSE(XmlLoadDocumentInPlace(doc, bytes, &inPlaceError));
        // (At the very end of a text pugixml gives the byte before it.)
        EXPECT_EQ(inPlaceError.section(QStringLiteral(" (at"), 0, 0).toStdString(),
                  error.section(QStringLiteral(" (at"), 0, 0).toStdString());
        EXPECT_FALSE(doc.first_child());
    }
}

TEST(MXml, LoadAcceptsAByteOrderMark)
{
    pugi::xml_document doc;
    ASSERT_TRUE(XmlLoadDocument(doc, QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\"?><Project><V value=\"7\"/></Project>")));
    EXPECT_EQ(XmlGetChildValueLng(doc.document_element(), QStringLiteral("V")), 7);
    QByteArray bytes("\xEF\xBB\xBF<?xml version=\"1.0\"?><Project><V value=\"8\"/><T><![CDATA[a&b]]></T></Project>");
    ASSERT_TRUE(XmlLoadDocumentInPlace(doc, bytes));
    EXPECT_EQ(XmlGetChildValueLng(doc.document_element(), QStringLiteral("V")), 8);
    EXPECT_EQ(XmlGetChildText(doc.document_element(), QStringLiteral("T"), false), QStringLiteral("a&b"));
}
