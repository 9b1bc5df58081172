#pragma once
// The R face of the settings table: which R argument sets which setting, and the R code and
// help text made from the table, so the package's names, defaults and help cannot drift from
// the window's and the batch runner's. Plain C++: the package and the generator program that
// writes R/settings.R and man/el_forecast.Rd both use it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.hpp"

namespace el::rpkg {

// How an R argument turns into the text of its setting.
enum class ArgForm {
    OptionalText,  // NULL: the start-up value; else a single string
    Number,        // a finite number, written in the data set's number form
    Flag,          // TRUE or FALSE: "1" or "0"
    Choice,        // one of the setting's choices, the start-up value first
    Limit,         // NULL: the check box at its start-up value; a number: the check box on and the limit
    OptionalCount, // NULL: the start-up value; else a whole number (a setting the core may not have)
};

struct RArgument {
    std::string_view name;       // the R argument
    std::string_view setting;    // the setting it sets
    ArgForm form;
    std::string_view checkBox;   // Limit: the check box switched on with it
    // R code of a default of R's own, where R differs from the tools' start-up value, and
    // the words its help gives for it.
    std::string_view rDefault = {};
    std::string_view rDefaultWords = {};
};

// The run arguments of el_forecast, in the order of its signature.
std::span<const RArgument> runArguments();

// The arguments of el_forecast after `x`, as "name = default" in signature order.
std::vector<std::string> forecastFormalTexts();

// The text of R/settings.R.
std::string settingsRCode();

// man/el_forecast.Rd from its template: "@USAGE_FORECAST@" becomes the usage line and
// "@SETTING_ITEMS@" the argument items of the settings.
std::string forecastRd(std::string_view rdTemplate);

// The settings table's entry of a setting by name; null when the table has no such setting.
const SettingInfo* infoOf(std::string_view setting);

}  // namespace el::rpkg
