#include "engine/report/report_header.hpp"

#include "base/numtext.hpp"

namespace el::engine {

LogLines headerLines(const std::string& dataFileName, const std::string& calculationDate) {
    return {"Supervised forecasting of the range expansion of alien species by early-late relationship", "",
            "File name: " + dataFileName, "Date of calculation: " + calculationDate, ""};
}

LogLines speciesBlockLines(const std::vector<std::string>& species, const std::optional<std::string>& target,
                           bool autoWeight) {
    LogLines lines{"Species analyzed (training and target)"};
    lines.insert(lines.end(), species.begin(), species.end());
    if (target) lines.push_back("Target species:" + *target);
    else if (autoWeight) lines.push_back("Automatic weight for the case without target species");
    return lines;
}

LogLines powerLines(double p1, double p2) {
    return {"", "Power in weight calculation for similarity:" + strnum(p1) + "   number of samples:" + strnum(p2), ""};
}

}  // namespace el::engine
