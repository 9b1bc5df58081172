#pragma once
// The whole batch run: command line, Read step, one forecast, the log written out.

#include <ostream>
#include <string>
#include <vector>

#include "base/cancel.hpp"

namespace el::batch {

// What the process knows of its surroundings.
struct BatchTerminal {
    bool errIsTerminal = false;              // standard error is a terminal: progress may be shown
    const StopToken* interrupted = nullptr;  // raised by Ctrl-C
};

// Returns the exit status: 0 completed, 1 the read or the run stopped, 2 usage error,
// 130 interrupted.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchTerminal& terminal = {});

}  // namespace el::batch
