#pragma once
// The whole batch run: command line, Read step, one forecast, the log written out.

#include <ostream>
#include <string>
#include <vector>

namespace el::batch {

// Returns the exit status: 0 completed, 1 the read or the run stopped, 2 usage error.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace el::batch
