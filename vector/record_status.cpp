#include "vector/record_status.hpp"

#include <string>

namespace el::vec {
namespace {

std::string folded(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ' || c == '_' || c == '-' || c == '\t') continue;
        out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

}  // namespace

bool isAbsenceStatus(std::string_view status) {
    const std::string value = folded(status);
    return value == "absent" || value == "absence" || value == "notpresent";
}

Specimen specimenOf(std::string_view basisOfRecord) {
    const std::string value = folded(basisOfRecord);
    if (value == "fossilspecimen") return Specimen::Fossil;
    if (value == "livingspecimen") return Specimen::Living;
    return Specimen::None;
}

}  // namespace el::vec
