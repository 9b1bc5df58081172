#pragma once
// The names of text encodings: which the system can convert, and which name UTF-8. The
// parameter registry checks an encoding option with these, the decoders choose by them.

#include <string>
#include <string_view>

namespace el {

// The encoding choice that takes UTF-8 when the bytes are UTF-8, else what the detector names.
inline constexpr std::string_view kAutoEncoding = "auto";

// True for "UTF-8" in any letter case, with or without its hyphen or an underscore.
bool isUtf8Name(const std::string& name);

// True for "auto" and for every encoding name the system can convert from and to.
bool encodingKnown(const std::string& name);

}  // namespace el
