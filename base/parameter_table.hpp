#pragma once
// The registry's table itself, for base/parameters.cpp; everyone else reads it through
// base/parameters.hpp.

#include <span>

#include "base/parameters.hpp"

namespace el::registry {

std::span<const Parameter> table();

}  // namespace el::registry
