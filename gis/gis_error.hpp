#pragma once
// The one error of the GIS conversions: its text is a complete sentence for the user.

#include <stdexcept>
#include <string>

namespace el::gis {

class GisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace el::gis
