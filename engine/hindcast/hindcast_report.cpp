#include "engine/hindcast/hindcast_report.hpp"

#include "base/numtext.hpp"
#include "engine/hindcast/hindcast_columns.hpp"

namespace el::engine {
namespace {

std::string figure(const std::optional<double>& value) { return value ? strnum(*value) : std::string("null"); }

std::string yearLine(const HindcastYear& y) {
    const HindcastFigures& f = y.figures;
    std::string line = strnum(y.year) + ",";
    if (!y.ran) return line + "null,null,null,null,null,null,null";
    line += strnum(f.reachedLater) + "," + strnum(f.notReached);
    // Appended, not "," + text: GCC 12 at -O2 takes "text" + temporary for an overlapping copy (-Wrestrict).
    for (const auto* value : {&f.auc, &f.spearman, &f.mae, &f.distanceAuc, &f.distanceSpearman})
        line.append(",").append(figure(*value));
    return line;
}

}  // namespace

LogLines hindcastLines(const std::vector<HindcastYear>& years) {
    LogLines lines{"", "Hindcast: forecast from the data up to each year, scored on the arrivals after it",
                   hindcastTitleLine()};
    for (const HindcastYear& year : years) lines.push_back(yearLine(year));
    return lines;
}

}  // namespace el::engine
