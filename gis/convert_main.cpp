// earlylate-convert: converts between GIS files and vector files.

#include <iostream>
#include <string>
#include <vector>

#include "gis/convert_command.hpp"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return el::gis::runConvert(args, std::cout, std::cerr, ".");
}
