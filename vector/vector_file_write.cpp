// The writer: every field followed by a comma, counts and coordinates in the printed
// number form, lines ended by CR LF. A text field is quoted only when it holds a comma,
// so that a comment or name with a comma reads back as one field.

#include <optional>
#include <string>
#include <string_view>

#include "base/file_replace.hpp"
#include "base/numtext.hpp"
#include "vector/record_layout.hpp"
#include "vector/vector_file.hpp"

namespace el::vec {
namespace {

std::string quotedIfComma(std::string_view text) {
    if (text.find(',') == std::string_view::npos) return std::string(text);
    // Appended, not "\"" + text: GCC 12 at -O2 takes "text" + temporary for an overlapping copy (-Wrestrict).
    std::string quoted = "\"";
    return quoted.append(text).append("\"");
}

std::string textField(std::string_view text) { return quotedIfComma(text) + ","; }

std::string numberField(double value) { return printed(value) + ","; }

bool isPartType(const std::string& type) { return vec::shapeOf(type) == vec::Shape::Parts; }

// The arrays the writer walks must exist; a data set that breaks this is refused
// before the file is touched.
bool writable(const VectorData& data) {
    if (data.valn() < 0 || data.objn() < 0 || data.maxline() < 0) return false;
    if (static_cast<long long>(data.valname.size()) != static_cast<long long>(data.valn()) + data.maxline())
        return false;
    if (static_cast<int>(data.objects.size()) != data.objn()) return false;
    for (const VectorObject& object : data.objects) {
        if (static_cast<int>(object.values.size()) != data.valn()) return false;
        for (const VectorPart& part : object.parts)
            if (part.x.size() != part.y.size()) return false;
        if (!isPartType(object.type)) {
            if (object.parts.empty()) return false;
            const bool point = object.type != "polygon" && object.type != "line";
            if (point && object.parts[0].polygonnode() < object.noden()) return false;
        }
    }
    return true;
}

std::string objectLine(VectorObject& object, const std::string& missvalue, Feedback& feedback) {
    std::string line;
    for (std::string& value : object.values) {
        if (value == missvalue) value.clear();
        line += textField(value);
    }
    line += textField(object.type);
    line += textField(object.name);
    if (isPartType(object.type)) {
        line += numberField(object.noden());
        for (const VectorPart& part : object.parts) {
            line += textField(part.mergin);
            line += numberField(part.polygonnode());
            for (std::size_t k = 0; k < part.x.size(); ++k) line += numberField(part.x[k]) + numberField(part.y[k]);
        }
        return line;
    }
    const VectorPart& first = object.parts[0];
    // A polygon or line gives its node count; a point its part count, which is 1.
    const bool point = object.type != "polygon" && object.type != "line";
    const int nodes = point ? object.noden() : first.polygonnode();
    line += numberField(nodes);
    for (std::size_t k = 0; k < static_cast<std::size_t>(nodes); ++k) {
        line += numberField(first.x[k]) + numberField(first.y[k]);
        feedback.checkpoint();
    }
    return line;
}

}  // namespace

std::optional<std::string> vectorFileText(VectorData& data, const std::string& missvalue, Feedback& feedback) {
    if (!writable(data)) return std::nullopt;
    std::string text = quotedIfComma(data.filetype) + "\r\n" + quotedIfComma(data.comment) + "\r\n";
    for (const std::string& name : data.valname) text += textField(name);
    text += "\r\n";
    for (VectorObject& object : data.objects) {
        text += objectLine(object, missvalue, feedback);
        text += "\r\n";
    }
    return text;
}

int VectorFileWrite(const std::filesystem::path& filename, VectorData& data, const std::string& missvalue,
                    Feedback& feedback) {
    // Failures are left to the caller to report, which knows what the file was for.
    const auto text = vectorFileText(data, missvalue, feedback);
    if (!text) return 1;
    return replaceFile(filename, *text) ? 1 : 0;
}

}  // namespace el::vec
