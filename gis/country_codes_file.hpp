#pragma once
// The countries of ISO 3166-1 as the iso-codes package holds them (JSON: "3166-1", a list of
// objects with alpha_2, alpha_3, numeric, name and, for some, official_name and common_name).
// The file is read when a join asks for country codes, not at start-up.

#include <filesystem>
#include <string_view>
#include <vector>

#include "gis/country_names.hpp"

namespace el::gis {

// The countries of the file's text. Throws GisError naming `source` when the text is not
// such a list (not JSON, no "3166-1", an entry without its codes or name).
std::vector<Country> countriesOfJson(std::string_view text, const std::string& source);

// The countries of the file. Throws GisError when it is missing (naming the iso-codes
// package) or unreadable.
std::vector<Country> readIsoCountries(const std::filesystem::path& file);

}  // namespace el::gis
