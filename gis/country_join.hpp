#pragma once
// A records table whose join column holds country names (or codes of another kind) joined to
// a regions layer keyed by ISO 3166-1 codes: each record's key becomes the code the layer
// holds for its country. The region names stay the table's.

#include <map>
#include <string>
#include <vector>

#include "gis/country_names.hpp"
#include "vector/records.hpp"

namespace el::gis {

// The layer's key for a code: the code itself, or the layer's spelling of it (letter case;
// a numeric code without its leading zeros, as an integer field gives it: "36" for "036").
// "" when the layer has none.
std::string layerKeyOfCode(const std::string& code, const std::map<std::string, vec::RegionShape>& shapes);

// Sets the key of every record to the code of `kind` of the country its key (or, without a
// key column, its region) names, in the layer's spelling where the layer holds it. Throws
// RecordsError listing every name that is no country, with its first line and the names
// the user may have meant; `column` names the table's column in that message.
void joinCountryCodes(std::vector<vec::Record>& records, const CountryNames& countries, CountryCodeKind kind,
                      const std::map<std::string, vec::RegionShape>& shapes, const std::string& column);

}  // namespace el::gis
