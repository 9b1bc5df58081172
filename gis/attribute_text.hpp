#pragma once
// Attribute values of a GIS feature as the value texts of a vector file.

#include <optional>
#include <string>

#include "vector/field_text.hpp"

class OGRFeature;

namespace el::gis {

using vec::vectorFieldText;

// The text of field `field` of `feature`: integers in full, reals in the plain number
// form, dates and date-times as decimal years, anything else as GDAL writes it. Empty for
// a null or unset field, a real that is not finite, or an impossible date.
std::optional<std::string> attributeText(OGRFeature& feature, int field);

}  // namespace el::gis
