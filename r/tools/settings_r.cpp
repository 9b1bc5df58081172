// Prints the R package's settings code or its run arguments' help page, both made from the
// core's settings table:
//   settings-r r                  R/settings.R
//   settings-r rd TEMPLATE        man/el_forecast.Rd from its template

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "settings_code.hpp"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "r" && argc == 2) {
        std::cout << el::rpkg::settingsRCode();
        return 0;
    }
    if (mode == "rd" && argc == 3) {
        std::ifstream in(argv[2], std::ios::binary);
        if (!in) {
            std::cerr << "settings-r: cannot read " << argv[2] << "\n";
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        std::cout << el::rpkg::forecastRd(text.str());
        return 0;
    }
    std::cerr << "usage: settings-r r | settings-r rd TEMPLATE\n";
    return 2;
}
