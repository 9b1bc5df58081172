#pragma once
// A small reader of XML documents such as the descriptor of a Darwin Core archive: elements,
// their attributes and their text, nothing more. Comments, processing instructions and a
// document type line are skipped, CDATA sections are text, the five named entities and
// character references are decoded, and a namespace prefix is dropped from every name
// ("dwc:field" is "field"). Not read: a document type's internal subset and other entities.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace el::vec {

struct XmlElement {
    std::string name;                                             // without its namespace prefix
    std::vector<std::pair<std::string, std::string>> attributes;  // names without prefix, values decoded
    std::string text;                                             // the text directly inside, concatenated
    std::vector<XmlElement> children;
    std::int64_t line = 0;  // where its start tag is

    // The value of the attribute `name`, or nothing.
    std::optional<std::string> attribute(std::string_view attributeName) const;
    // The children named `childName`, in document order.
    std::vector<const XmlElement*> childrenNamed(std::string_view childName) const;
};

// The root element of `document`. Throws RecordsError naming the line of the first fault
// (`label` says what the document is: "meta.xml of the archive"). Elements nest at most
// kXmlDepthLimit deep.
inline constexpr std::size_t kXmlDepthLimit = 64;
XmlElement readXml(std::string_view document, const std::string& label);

}  // namespace el::vec
