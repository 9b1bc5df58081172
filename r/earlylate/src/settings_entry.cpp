// The settings table of the core the package is linked with, for the check that the
// generated R code still matches it.

#include <Rcpp.h>

#include "base/settings.hpp"
#include "frame_output.hpp"
#include "settings_code.hpp"

// [[Rcpp::export(rng = false)]]
Rcpp::List el_settings_live() {
    std::vector<std::string> names, startups, helps;
    for (const el::SettingInfo& info : el::settingTable()) {
        names.emplace_back(info.name);
        startups.emplace_back(info.startup);
        helps.emplace_back(info.help);
    }
    return Rcpp::List::create(Rcpp::Named("name") = el::rpkg::utf8Vector(names),
                              Rcpp::Named("startup") = el::rpkg::utf8Vector(startups),
                              Rcpp::Named("help") = el::rpkg::utf8Vector(helps),
                              Rcpp::Named("code") = el::rpkg::settingsRCode());
}
