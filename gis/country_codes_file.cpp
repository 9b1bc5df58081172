#include "gis/country_codes_file.hpp"

#include <nlohmann/json.hpp>

#include "base/file_bytes.hpp"
#include "gis/gis_error.hpp"

namespace el::gis {
namespace {

std::string textOf(const nlohmann::json& entry, const char* key) {
    const auto found = entry.find(key);
    return found != entry.end() && found->is_string() ? found->get<std::string>() : std::string();
}

}  // namespace

std::vector<Country> countriesOfJson(std::string_view text, const std::string& source) {
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object() || !document.contains("3166-1") ||
        !document["3166-1"].is_array())
        throw GisError(source + " is not a list of ISO 3166-1 countries (no \"3166-1\" list)");
    std::vector<Country> countries;
    for (const nlohmann::json& entry : document["3166-1"]) {
        Country country{textOf(entry, "alpha_2"), textOf(entry, "alpha_3"), textOf(entry, "numeric"), {}};
        for (const char* key : {"name", "official_name", "common_name"})
            if (std::string name = textOf(entry, key); !name.empty()) country.names.push_back(std::move(name));
        if (!country.complete())
            throw GisError(source + ": entry " + std::to_string(countries.size() + 1) +
                           " of the \"3166-1\" list lacks its alpha_2, alpha_3, numeric code or name");
        countries.push_back(std::move(country));
    }
    return countries;
}

std::vector<Country> readIsoCountries(const std::filesystem::path& file) {
    const auto bytes = readWholeFile(file);
    if (!bytes)
        throw GisError("cannot read the country codes of " + file.string() +
                       " (--country-codes needs the iso-codes package: apt-get install iso-codes)");
    return countriesOfJson(*bytes, file.string());
}

}  // namespace el::gis
