#pragma once
// Texts from elsewhere (a GIS attribute, a table cell, an R string) made fit to be one
// field of a vector file.

#include <string>

#include "vector/vector_data.hpp"

namespace el::vec {

// Makes a text survive as one field of a vector file. Line breaks would end the field
// and shift every later one, so they become blanks; a double quote that the field rules
// would take as quoting (at the start, or together with a comma, which the writer quotes)
// becomes a single quote. Any other text is returned unchanged.
std::string vectorFieldText(std::string text);

// A data set built from objects (a GIS layer, an R data frame) with its texts as a read of
// its vector file would leave them: blanks (space, tab) before a variable name, a value or
// a name are not part of the field, unless the writer quotes it, as it does a text with a comma.
void asReadFromText(VectorData& data);

}  // namespace el::vec
