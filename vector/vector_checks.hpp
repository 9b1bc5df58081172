#pragma once
// The warnings after a read: repeated object names and boundary segments of an area or
// polygon that meet another boundary segment of the same object.

#include "vector/vector_file.hpp"
#include "vector/vector_data.hpp"

namespace el::vec {

// Shows one message per repeated name and per crossing object, with the "Checking"
// percentage on the read progress label. Stops at the next object as soon as the
// skip-format-check box is on.
void checkNamesAndBoundaries(const VectorData& data, const ReadHooks& hooks);

}  // namespace el::vec
