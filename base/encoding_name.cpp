#include "base/encoding_name.hpp"

#include <cctype>

#include "base/text_convert.hpp"

namespace el {

bool isUtf8Name(const std::string& name) {
    std::string plain;
    for (char c : name)
        if (c != '-' && c != '_') plain += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return plain == "UTF8";
}

bool encodingKnown(const std::string& name) {
    return name == kAutoEncoding || isUtf8Name(name) || textEncodingAvailable(name);
}

}  // namespace el
