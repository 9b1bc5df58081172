#pragma once
// How the start of a run's log is printed: the header, the species block and the power line.

#include <optional>
#include <string>
#include <vector>

namespace el::engine {

using LogLines = std::vector<std::string>;

LogLines headerLines(const std::string& dataFileName, const std::string& calculationDate);

// The species analysed, then the target line, or the automatic-weight note, or nothing.
LogLines speciesBlockLines(const std::vector<std::string>& species, const std::optional<std::string>& target,
                           bool autoWeight);

LogLines powerLines(double p1, double p2);

}  // namespace el::engine
