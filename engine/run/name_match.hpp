#pragma once
// The refusal of a species name that names nothing, with the names the user may have meant.

#include <string>
#include <vector>

#include "base/name_match.hpp"

namespace el::engine {

using el::closestNames;
using el::editDistance;

// The refusal text of a name that is not among `names`: `no species named "X"` followed by
// "; did you mean "Y"?" with the closest names, or else by the names there are (the first few).
std::string noSpeciesNamed(const std::string& given, const std::vector<std::string>& names);

}  // namespace el::engine
