#include "vector/field_text.hpp"

namespace el::vec {

std::string vectorFieldText(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    const std::size_t first = text.find_first_not_of(" \t");
    const bool opensQuote = first != std::string::npos && text[first] == '"';
    const bool quotedByWriter = text.find(',') != std::string::npos;
    if (opensQuote || (quotedByWriter && text.find('"') != std::string::npos))
        for (char& c : text)
            if (c == '"') c = '\'';
    return text;
}

}  // namespace el::vec
