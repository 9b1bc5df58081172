#include "vector/archive_meta.hpp"

#include <optional>

#include "base/text.hpp"
#include "vector/records_error.hpp"
#include "vector/text_encoding.hpp"
#include "vector/xml_elements.hpp"

namespace el::vec {
namespace {

const std::string kLabel = "the archive's meta.xml";
constexpr long kMostColumns = 10000;  // far beyond any archive's terms; keeps a bad index from sizing memory

[[noreturn]] void refuse(const XmlElement& at, const std::string& what) {
    throw RecordsError("line " + std::to_string(at.line) + " of " + kLabel + ": " + what);
}

// A descriptor writes a tab as "\t" (or as the character itself, or &#9;).
std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\\' || k + 1 == text.size()) {
            out += text[k];
            continue;
        }
        const char next = text[++k];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::optional<long> wholeNumber(const XmlElement& at, const char* attribute, long most) {
    const std::optional<std::string> text = at.attribute(attribute);
    if (!text) return std::nullopt;
    const std::string_view digits = trimBlanks(*text);
    long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9' || value > most)
            refuse(at, std::string("the ") + attribute + " \"" + *text + "\" is not a whole number from 0 to " +
                           std::to_string(most));
        value = value * 10 + (c - '0');
    }
    if (digits.empty() || value > most)
        refuse(at, std::string("the ") + attribute + " \"" + *text + "\" is not a whole number from 0 to " +
                       std::to_string(most));
    return value;
}

void readFormat(const XmlElement& core, DelimitedFormat& format) {
    const std::string delimiter = unescaped(core.attribute("fieldsTerminatedBy").value_or(","));
    if (delimiter.size() != 1 || delimiter[0] == '\n' || delimiter[0] == '\r')
        refuse(core, "the fields are terminated by \"" + delimiter + "\"; one character other than a line end is read");
    format.delimiter = delimiter[0];
    const std::string lines = unescaped(core.attribute("linesTerminatedBy").value_or("\n"));
    if (lines != "\n" && lines != "\r\n" && lines != "\r")
        refuse(core, "the lines are terminated by \"" + core.attribute("linesTerminatedBy").value_or("") +
                         "\"; only line ends (\\n, \\r\\n, \\r) are read");
    const std::string quote = unescaped(core.attribute("fieldsEnclosedBy").value_or("\""));
    if (quote.size() > 1) refuse(core, "the fields are enclosed by \"" + quote + "\"; one character or none is read");
    format.quoting = quote.empty() ? Quoting::Literal : Quoting::Standard;
    if (!quote.empty()) format.quote = quote[0];
    if (!quote.empty() && quote[0] == format.delimiter) refuse(core, "the fields are enclosed by their delimiter");
    format.skippedLines = static_cast<int>(wholeNumber(core, "ignoreHeaderLines", 1000).value_or(0));
    format.header = false;
    format.fieldCount = FieldCount::Exact;
    const std::string encoding(trimBlanks(core.attribute("encoding").value_or("UTF-8")));
    if (!encodingKnown(encoding)) refuse(core, "the encoding \"" + encoding + "\" is not one this system knows");
    format.encoding = encoding;
}

void nameColumn(ArchiveCore& out, const XmlElement& field, long index, const std::string& name) {
    const auto at = static_cast<std::size_t>(index);
    if (out.columns.size() <= at) out.columns.resize(at + 1);
    if (!out.columns[at].empty() && out.columns[at] != "id")
        refuse(field, "column " + std::to_string(index) + " is given two terms, " + out.columns[at] + " and " + name);
    out.columns[at] = name;
}

void readColumns(const XmlElement& core, ArchiveCore& out) {
    for (const char* key : {"id", "coreid"})
        for (const XmlElement* id : core.childrenNamed(key))
            if (const auto index = wholeNumber(*id, "index", kMostColumns)) {
                const auto at = static_cast<std::size_t>(*index);
                if (out.columns.size() <= at) out.columns.resize(at + 1);
                if (out.columns[at].empty()) out.columns[at] = "id";
            }
    for (const XmlElement* field : core.childrenNamed("field")) {
        const std::string name = termName(field->attribute("term").value_or(""));
        if (name.empty()) refuse(*field, "a field has no term");
        if (const auto index = wholeNumber(*field, "index", kMostColumns)) {
            nameColumn(out, *field, *index, name);
        } else if (const auto constant = field->attribute("default")) {
            out.constants.emplace_back(name, *constant);
        } else {
            refuse(*field, "the field " + name + " has neither an index nor a default");
        }
    }
    if (out.columns.empty()) refuse(core, "the core names no column");
}

// A relative path without "..": the core file is one of the archive's own.
bool insideArchive(const std::string& location) {
    if (location.find(':') != std::string::npos || location.front() == '/' || location.front() == '\\') return false;
    std::size_t begin = 0;
    while (begin <= location.size()) {
        std::size_t end = location.find_first_of("/\\", begin);
        if (end == std::string::npos) end = location.size();
        if (location.substr(begin, end - begin) == "..") return false;
        begin = end + 1;
    }
    return true;
}

}  // namespace

std::string termName(std::string_view term) {
    term = trimBlanks(term);
    const std::size_t cut = term.find_last_of("/#");
    return std::string(cut == std::string_view::npos ? term : term.substr(cut + 1));
}

ArchiveCore readArchiveMeta(std::string_view metaXml) {
    const XmlElement root = readXml(metaXml, kLabel);
    if (root.name != "archive") refuse(root, "the root element is <" + root.name + ">, not <archive>");
    const std::vector<const XmlElement*> cores = root.childrenNamed("core");
    if (cores.size() != 1) refuse(root, cores.empty() ? "the archive has no <core>" : "the archive has two <core>s");
    const XmlElement& core = *cores.front();
    ArchiveCore out;
    out.rowType = core.attribute("rowType").value_or("");
    for (const XmlElement* files : core.childrenNamed("files"))
        for (const XmlElement* location : files->childrenNamed("location"))
            if (out.location.empty()) out.location = trimBlanks(location->text, " \t\r\n");
    if (out.location.empty()) refuse(core, "the core has no <files><location>");
    if (!insideArchive(out.location)) refuse(core, "the core file \"" + out.location + "\" lies outside the archive");
    readFormat(core, out.format);
    out.format.label = out.location;
    readColumns(core, out);
    return out;
}

}  // namespace el::vec
