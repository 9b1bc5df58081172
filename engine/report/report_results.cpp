#include "engine/report/report_results.hpp"

#include "base/numtext.hpp"

namespace el::engine {

LogLines regionCountLines(int allRegions, int usedRegions) {
    return {"", "Number of regions:" + strnum(allRegions), "Number of regions finally used:" + strnum(usedRegions)};
}

LogLines scoreTableLines(const std::vector<std::string>& usedNames, const std::vector<double>& score,
                         const std::vector<int>& order, const std::vector<double>& eigenmean,
                         const std::vector<double>& eigensd) {
    LogLines lines{" ", "Score for region (large value means late infestation)",
                   "Region, Eigenvector, Average in fluctuation trials, Std in trials"};
    for (int p : order)
        lines.push_back(usedNames[static_cast<std::size_t>(p)] + ", " + strnum(score[static_cast<std::size_t>(p)]) +
                        ", " + strnum(eigenmean[static_cast<std::size_t>(p)]) + ", " +
                        strnum(eigensd[static_cast<std::size_t>(p)]));
    return lines;
}

LogLines correlationHeadLines() { return {" ", " ", "Correlation coefficient and predicted infestation date"}; }

LogLines speciesBlockLines(const SpeciesBlock& block) {
    const SpeciesFit& fit = block.fit;
    const std::string regions = "   Number of regions:";
    LogLines lines{"Species: " + block.name, "Average in STD of fluctuation tryal: " + strnum(block.averageSd),
                   "Correlation coefficient of infestation date (training region):" + strnum(fit.rt) + regions +
                       strnum(fit.nt)};
    if (block.isTarget) {
        lines.push_back("Correlation coefficient of infestation date (validation region):" + strnum(fit.rv) + regions +
                        strnum(fit.nv));
        lines.push_back("Correlation coefficient of infestation date (training & validation region):" +
                        strnum(fit.rw) + regions + strnum(fit.nt + fit.nv));
    }
    lines.push_back(predictionLineText(fit));
    if (!block.isTarget) lines.push_back("Region, Infestation date, Predicted infestation date");
    else if (fit.predictable)
        lines.push_back("Region, Training data, Estimated infestation date, Actual infestation date, SD of fluctuation trial");
    else
        lines.push_back("Region, Training data, Relative infestation date, Actual infestation date, SD of fluctuation trial");
    for (const BlockRow& row : block.rows) {
        std::string line = row.region + ", " + row.status + ", " + strnum(row.value);
        if (block.isTarget) line += ", " + row.actual + ", " + strnum(row.sd);
        lines.push_back(line);
    }
    lines.push_back(fit.predictable ? "" : "Infestation date is not predictable");
    return lines;
}

std::string predictionLineText(const SpeciesFit& fit) {
    return "Predicted infestation date =" + strnum(fit.a) + " x region score" + (fit.b > 0 ? " +" : "") + strnum(fit.b);
}

LogLines closingNoteLines() { return {"Climatic limit was not considered"}; }

LogLines adjustedMatrixLines(const SquareMatrix& M, const std::vector<std::string>& usedNames,
                             const std::vector<int>& order) {
    LogLines lines{"", "", "Matrix for calculation (adjusted):"};
    std::string header = "地域";
    for (int p : order) header += "," + usedNames[static_cast<std::size_t>(p)];
    lines.push_back(header);
    for (int r : order) {
        std::string line = usedNames[static_cast<std::size_t>(r)];
        // Appended one after the other: GCC 12 at -O2 takes "text" + temporary for an overlapping copy (-Wrestrict).
        for (int c : order) line.append(",").append(strnum(M(r, c)));
        lines.push_back(line);
    }
    return lines;
}

std::string weightTestHeader(const std::string& dataFileName, const std::string& calculationDate) {
    return "File name: " + dataFileName + "  Date of calculation: " + calculationDate;
}

std::string weightTestLine(const std::string& target, double p1, double p2, const SpeciesFit& fit) {
    return std::string(kWeightTestTitles) + target + "," + strnum(p1) + "," + strnum(p2) + "," + strnum(fit.rt) + "," + strnum(fit.rv) + "," +
           strnum(fit.rw);
}

std::string weightTestCaption(const std::string& target, double p1, double p2, const SpeciesFit& fit) {
    return "Species, power for similarity,  power for number of sanples,correlation coefficient for training & "
           "validation regions," +
           target + "," + strnum(p1) + "," + strnum(p2) + "," + strnum(fit.rw);
}

}  // namespace el::engine
