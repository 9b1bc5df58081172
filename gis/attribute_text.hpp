#pragma once
// Attribute values of a GIS feature as the value texts of a vector file.

#include <optional>
#include <string>

class OGRFeature;

namespace el::gis {

// Makes a text survive as one field of a vector file. Line breaks would end the field
// and shift every later one, so they become blanks; a double quote that the field rules
// would take as quoting (at the start, or together with a comma, which the writer quotes)
// becomes a single quote. Any other text is returned unchanged.
std::string vectorFieldText(std::string text);

// The text of field `field` of `feature`: integers in full, reals in the plain number
// form, dates and date-times as decimal years, anything else as GDAL writes it. Empty for
// a null or unset field, a real that is not finite, or an impossible date.
std::optional<std::string> attributeText(OGRFeature& feature, int field);

}  // namespace el::gis
