#pragma once
// A fatal error of a run: bad input text, a file that cannot be written, an internal
// inconsistency. The run driver shows its text to the user and stops the run.

#include <stdexcept>
#include <string>

namespace el::engine {

class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace el::engine
