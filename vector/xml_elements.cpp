#include "vector/xml_elements.hpp"

#include <cstdint>

#include "vector/records_error.hpp"

namespace el::vec {

std::optional<std::string> XmlElement::attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes)
        if (key == attributeName) return value;
    return std::nullopt;
}

std::vector<const XmlElement*> XmlElement::childrenNamed(std::string_view childName) const {
    std::vector<const XmlElement*> found;
    for (const XmlElement& child : children)
        if (child.name == childName) found.push_back(&child);
    return found;
}

namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string_view localName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

class XmlParser {
public:
    XmlParser(std::string_view text, const std::string& label) : text_(text), label_(label) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
    }

    XmlElement document() {
        skipMisc();
        if (!startsWith("<")) fail("holds no element");
        XmlElement root = element(1);
        skipMisc();
        if (at_ < text_.size()) fail("holds something after its root element <" + root.name + ">");
        return root;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw RecordsError("line " + std::to_string(line_) + " of " + label_ + ": the XML " + what);
    }

    bool startsWith(std::string_view prefix) const { return text_.substr(at_, prefix.size()) == prefix; }

    void advance(std::size_t count) {
        for (std::size_t k = 0; k < count && at_ < text_.size(); ++k, ++at_)
            if (text_[at_] == '\n') ++line_;
    }

    void skipPast(std::string_view end, const char* what) {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string_view::npos) fail(std::string("has ") + what + " that is never closed");
        advance(found + end.size() - at_);
    }

    void skipBlanks() {
        while (at_ < text_.size() && isBlank(text_[at_])) advance(1);
    }

    // Blanks, comments, processing instructions and a document type line between elements.
    void skipMisc() {
        for (;;) {
            skipBlanks();
            if (startsWith("<?")) {
                skipPast("?>", "a processing instruction");
            } else if (startsWith("<!--")) {
                skipPast("-->", "a comment");
            } else if (startsWith("<!DOCTYPE")) {
                if (text_.find('[', at_) < text_.find('>', at_)) fail("has a document type with declarations");
                skipPast(">", "a document type");
            } else {
                return;
            }
        }
    }

    std::string name() {
        const std::size_t begin = at_;
        while (at_ < text_.size() && isNameChar(text_[at_])) ++at_;
        if (at_ == begin) fail("has a tag without a name");
        return std::string(text_.substr(begin, at_ - begin));
    }

    // The decoded text up to (not including) `stop`, entities resolved.
    std::string decodedUntil(char stop, bool inAttribute) {
        std::string out;
        while (at_ < text_.size() && text_[at_] != stop) {
            if (inAttribute && text_[at_] == '<') fail("has a '<' inside an attribute value");
            if (text_[at_] != '&') {
                out += text_[at_];
                advance(1);
                continue;
            }
            entity(out);
        }
        return out;
    }

    void entity(std::string& out) {
        const std::size_t semicolon = text_.find(';', at_);
        if (semicolon == std::string_view::npos || semicolon - at_ > 12) fail("has a '&' that starts no entity");
        const std::string_view ref = text_.substr(at_ + 1, semicolon - at_ - 1);
        if (ref == "lt") out += '<';
        else if (ref == "gt") out += '>';
        else if (ref == "amp") out += '&';
        else if (ref == "quot") out += '"';
        else if (ref == "apos") out += '\'';
        else if (!ref.empty() && ref[0] == '#') appendUtf8(out, characterReference(ref.substr(1)));
        else fail("has an entity &" + std::string(ref) + "; it does not know");
        advance(semicolon + 1 - at_);
    }

    std::uint32_t characterReference(std::string_view digits) const {
        const bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
        if (hex) digits.remove_prefix(1);
        std::uint32_t code = 0;
        for (const char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0) fail("has a character reference that is not a number");
            code = code * (hex ? 16u : 10u) + static_cast<std::uint32_t>(digit);
            if (code > 0x10FFFF) fail("has a character reference beyond Unicode");
        }
        if (digits.empty() || code == 0 || (code >= 0xD800 && code <= 0xDFFF))
            fail("has a character reference to no character");
        return code;
    }

    void attributes(XmlElement& into) {
        for (;;) {
            skipBlanks();
            if (at_ >= text_.size()) fail("ends inside the tag <" + into.name + ">");
            if (text_[at_] == '>' || text_[at_] == '/') return;
            std::string key(localName(name()));
            skipBlanks();
            if (!startsWith("=")) fail("has an attribute " + key + " without a value");
            advance(1);
            skipBlanks();
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\''))
                fail("has an attribute " + key + " whose value is not quoted");
            const char quote = text_[at_];
            advance(1);
            std::string value = decodedUntil(quote, true);
            if (at_ >= text_.size()) fail("has an attribute " + key + " whose value is never closed");
            advance(1);
            into.attributes.emplace_back(std::move(key), std::move(value));
        }
    }

    XmlElement element(std::size_t depth) {
        if (depth > kXmlDepthLimit) fail("nests elements more than " + std::to_string(kXmlDepthLimit) + " deep");
        XmlElement out;
        out.line = line_;
        advance(1);  // '<'
        const std::string tag = name();
        out.name = std::string(localName(tag));
        attributes(out);
        if (startsWith("/>")) {
            advance(2);
            return out;
        }
        if (!startsWith(">")) fail("has a '/' inside the tag <" + tag + ">");
        advance(1);
        content(out, tag, depth);
        return out;
    }

    void content(XmlElement& out, const std::string& tag, std::size_t depth) {
        for (;;) {
            out.text += decodedUntil('<', false);
            if (at_ >= text_.size()) fail("ends before the element <" + tag + "> is closed");
            if (startsWith("</")) {
                advance(2);
                const std::string closing = name();
                if (closing != tag) fail("closes <" + tag + "> with </" + closing + ">");
                skipBlanks();
                if (!startsWith(">")) fail("has a closing tag </" + closing + "> that does not end in '>'");
                advance(1);
                return;
            }
            if (startsWith("<!--")) skipPast("-->", "a comment");
            else if (startsWith("<![CDATA[")) cdata(out.text);
            else if (startsWith("<?")) skipPast("?>", "a processing instruction");
            else out.children.push_back(element(depth + 1));
        }
    }

    void cdata(std::string& text) {
        advance(9);
        const std::size_t end = text_.find("]]>", at_);
        if (end == std::string_view::npos) fail("has a CDATA section that is never closed");
        text += text_.substr(at_, end - at_);
        advance(end + 3 - at_);
    }

    std::string_view text_;
    const std::string& label_;
    std::size_t at_ = 0;
    std::int64_t line_ = 1;
};

}  // namespace

XmlElement readXml(std::string_view document, const std::string& label) {
    return XmlParser(document, label).document();
}

}  // namespace el::vec
