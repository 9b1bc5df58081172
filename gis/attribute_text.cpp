#include "gis/attribute_text.hpp"

#include <cmath>

#include <ogr_feature.h>

#include "base/numtext.hpp"
#include "base/decimal_year.hpp"

namespace el::gis {

std::optional<std::string> attributeText(OGRFeature& feature, int field) {
    if (!feature.IsFieldSetAndNotNull(field)) return std::nullopt;
    switch (feature.GetFieldDefnRef(field)->GetType()) {
        case OFTInteger:
            return std::to_string(feature.GetFieldAsInteger(field));
        case OFTInteger64:
            return std::to_string(feature.GetFieldAsInteger64(field));
        case OFTReal: {
            const double value = feature.GetFieldAsDouble(field);
            if (!std::isfinite(value)) return std::nullopt;
            return plainnum(value);
        }
        case OFTDate:
        case OFTDateTime: {
            int year = 0, month = 0, day = 0, hour = 0, minute = 0, zone = 0;
            float second = 0;
            if (!feature.GetFieldAsDateTime(field, &year, &month, &day, &hour, &minute, &second, &zone))
                return std::nullopt;
            const auto years = decimalYear(year, month, day, hour * 3600.0 + minute * 60.0 + second);
            if (!years) return std::nullopt;
            return plainnum(*years);
        }
        default:
            return vectorFieldText(feature.GetFieldAsString(field));
    }
}

}  // namespace el::gis
