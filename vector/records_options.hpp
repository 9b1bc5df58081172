#pragma once
// The records import as the front ends ask for it: --records or --occurrences in place of an
// input file, the columns to read, the regions layer and the join, taken from the parameter
// registry's values (base/parameters.hpp declares the options).

#include <string>

#include "base/parameters.hpp"
#include "vector/records_source.hpp"

namespace el::vec {

// The records source the values ask for; nothing of it is checked here beyond the registry.
RecordsSource recordsSourceOf(const ParamValues& values);

// The rules between the records options and FILE, once all are read; the usage error or "".
std::string recordsCombinationError(const RecordsSource& source, const std::string& file);

}  // namespace el::vec
