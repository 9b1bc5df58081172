#pragma once
// The hindcast block that follows a run's report: a title line, a header line and one line
// per cut-off year, fields joined by "," with numbers in the report's form and "null" for a
// figure that cannot be computed.

#include <vector>

#include "engine/hindcast/hindcast.hpp"
#include "engine/report/report_header.hpp"

namespace el::engine {

// Starts with an empty line, so the block stands apart from the report above it.
LogLines hindcastLines(const std::vector<HindcastYear>& years);

}  // namespace el::engine
