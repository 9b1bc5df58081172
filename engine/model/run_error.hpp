#pragma once
// A fatal error of a run: bad input text, a file that cannot be written, an internal
// inconsistency. The run driver shows its text to the user and stops the run.

#include <stdexcept>
#include <string>

#include "base/numtext.hpp"

namespace el::engine {

class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The number a settings text holds; a text that is not a number stops the run with a
// message naming the setting (`what`) and the text.
inline double numberOrRunError(const std::string& text, const std::string& what) {
    const auto value = parseNumber(text);
    if (!value) throw RunError("The " + what + " text \"" + text + "\" is not a number");
    return *value;
}

}  // namespace el::engine
