#pragma once
// Texts from elsewhere (a GIS attribute, a table cell, an R string) made fit to be one
// field of a vector file.

#include <string>

namespace el::vec {

// Makes a text survive as one field of a vector file. Line breaks would end the field
// and shift every later one, so they become blanks; a double quote that the field rules
// would take as quoting (at the start, or together with a comma, which the writer quotes)
// becomes a single quote. Any other text is returned unchanged.
std::string vectorFieldText(std::string text);

}  // namespace el::vec
