#pragma once
// The command-line options of the records import, shared by the batch runner and the
// converter: --records or --occurrences in place of an input file,
// the columns to read, the regions layer and the join.

#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "vector/records_source.hpp"

namespace el::vec {

// The records options, each writing into `source` (which must outlive the table), in the
// order the help lists them.
std::vector<cmdline::Option> recordsOptions(RecordsSource& source);

// The rules between the records options and FILE, once all are read; the usage error or "".
std::string recordsCombinationError(const RecordsSource& source, const std::string& file);

}  // namespace el::vec
