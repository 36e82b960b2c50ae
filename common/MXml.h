#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <cstdint>
#include <vector>

// Helpers over the XML document model (pugixml) that fix the program's two
// ways of storing a value - the value element (<Version value="1"/>) and
// the attribute - and what a reader gets when a node or an attribute is
// missing: the empty text, 0 or false, never an error.
//
// Numbers are stored as texts and read with MCommon::ReadLeadingNumber
// ("." as the only decimal separator), so files read the same under every
// locale. Booleans are stored by the callers as "1" and "0".
//
// A selection path is a relative path of element names joined by "/"
// ("Curves/Curve"): each step goes down to the child elements of that name.
// Anything else is handed to the XPath engine; a path it cannot parse
// raises RuvError 5.
namespace MXml {

using XmlNodeList = std::vector<pugi::xml_node>;

// The first node the path selects, into `out`; false (and `out` empty)
// when there is none.
bool XmlTrySelectSingleNode(const pugi::xml_node& node, const QString& path, pugi::xml_node& out);
// Every node the path selects, in document order. True whenever the path
// could be evaluated, also for an empty list: test its size.
bool XmlTrySelectNodes(const pugi::xml_node& node, const QString& path, XmlNodeList& out);

// Appends <name value="text"/> as the parent's last child. A name that is
// not a valid XML name raises RuvError 5 and appends nothing.
void XmlAppendValueElement(pugi::xml_document& document, pugi::xml_node& parent,
                           const QString& name, const QString& value);
// The "value" attribute of the first node the path selects; empty when
// nothing is selected or the attribute is missing.
QString XmlGetChildValue(const pugi::xml_node& node, const QString& path);
double XmlGetChildValueDbl(const pugi::xml_node& node, const QString& path);
// Rounded half to even; 0 when out of the 32-bit range.
int32_t XmlGetChildValueLng(const pugi::xml_node& node, const QString& path);

// Sets the attribute, replacing the value of one of the same name in
// place, so that an element's attributes keep the order in which they were
// first written and saving twice gives the same bytes. An invalid name
// raises RuvError 5.
void XmlSetAttribute(pugi::xml_document& document, pugi::xml_node& element,
                     const QString& name, const QString& value);
// Empty for a null node, a missing attribute or a node without attributes.
QString XmlGetAttribute(const pugi::xml_node& node, const QString& name);
double XmlGetAttributeDbl(const pugi::xml_node& node, const QString& name);
int32_t XmlGetAttributeLng(const pugi::xml_node& node, const QString& name);
// "1" and other non-zero numbers, and "True" in any case, give true; "0",
// "False", the empty text, a missing attribute and any other text false.
bool XmlGetAttributeBool(const pugi::xml_node& node, const QString& name);

// Appends <name><![CDATA[text]]></name> as the parent's last child. A text
// holding "]]>" is stored in adjacent CDATA sections.
void XmlAppendCDataElement(pugi::xml_document& document, pugi::xml_node& parent,
                           const QString& name, const QString& text);
// The text content of the first node the path selects: its leading text
// and CDATA children joined (a single CDATA section unless the text held
// "]]>"); empty when the first child is an element or there is none. With
// normaliseLineEnds every line end (CR LF, lone CR, lone LF) becomes CR LF.
QString XmlGetChildText(const pugi::xml_node& node, const QString& path, bool normaliseLineEnds);

// Whether a node's or attribute's name is `wanted`. Inline rather than a
// library call: readers look at the names of thousands of elements.
inline bool XmlNameIs(const char* name, const char* wanted)
{
    while (*wanted != '\0' && *name == *wanted) {
        ++name;
        ++wanted;
    }
    return *name == *wanted;
}

// Reading and writing whole documents the same way everywhere.
// Parses UTF-8 (a byte-order mark is allowed) keeping line ends as they
// are; false with a readable message in `error` when the text is not
// well-formed XML. `document` is cleared first.
bool XmlLoadDocument(pugi::xml_document& document, const QByteArray& bytes, QString* error = nullptr);
// The same, parsing inside `bytes` itself instead of a copy (the texts of
// the document point into it): the bytes are changed, and must outlive
// the document and stay unchanged while it lives.
bool XmlLoadDocumentInPlace(pugi::xml_document& document, QByteArray& bytes, QString* error = nullptr);
// UTF-8 with a declaration, one element a line indented by a tab, "\n"
// line ends: the same document always gives the same bytes.
QByteArray XmlSaveDocument(const pugi::xml_document& document);

} // namespace MXml
