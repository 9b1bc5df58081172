#pragma once
// The command-line options of the records import, shared by the batch runner and the
// converter: --records or --occurrences in place of an input file,
// the columns to read, the regions layer and the join.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vector/records_source.hpp"

namespace el::vec {

// Gives the option's value, or nothing when the command line ends.
using ValueTaker = std::function<std::optional<std::string>()>;

// Nothing when `arg` is no records option, else "" or the usage error.
std::optional<std::string> recordsOption(const std::string& arg, const ValueTaker& value,
                                         RecordsSource& source);

// The rules between the records options and FILE, once all are read; the usage error or "".
std::string recordsCombinationError(const RecordsSource& source, const std::string& file);

// The option and what it does, for --help.
std::vector<std::pair<std::string, std::string>> recordsHelp();

}  // namespace el::vec
