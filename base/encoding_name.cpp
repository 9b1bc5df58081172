#include "base/encoding_name.hpp"

#include <iconv.h>

#include <cctype>

namespace el {

bool isUtf8Name(const std::string& name) {
    std::string plain;
    for (char c : name)
        if (c != '-' && c != '_') plain += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return plain == "UTF8";
}

bool encodingKnown(const std::string& name) {
    if (name == kAutoEncoding || isUtf8Name(name)) return true;
    const iconv_t noConverter = reinterpret_cast<iconv_t>(-1);
    const iconv_t from = ::iconv_open("UTF-8", name.c_str());
    if (from == noConverter) return false;
    ::iconv_close(from);
    const iconv_t to = ::iconv_open(name.c_str(), "UTF-8");
    if (to == noConverter) return false;
    ::iconv_close(to);
    return true;
}

}  // namespace el
