#include "engine/risk/risk_sentences.hpp"

#include <cmath>

#include "base/numtext.hpp"
#include "engine/risk/risk_text.hpp"

namespace el::engine {
namespace {

std::string years(double horizon) { return plainnum(horizon) + (horizon == 1 ? " year" : " years"); }

// A sum of risks as a number of arrivals: whole from 10 up, else to one decimal.
std::string arrivalsText(double arrivals) {
    return plainnum(arrivals >= 10 ? std::round(arrivals) : std::round(arrivals * 10) / 10);
}

std::string baseRateSentence(const RiskResult& result) {
    const RiskFigure& rate = result.check.baseRate;
    const std::string period = periodText(result.check.cutoff, result.check.upTo);
    if (!rate.value) return "There is no base rate: " + rate.reason + ".";
    const double per100 = std::round(*rate.value * 100);
    std::string share = per100 >= 1       ? "About " + plainnum(per100) + " in 100"
                        : *rate.value > 0 ? "Fewer than 1 in 100"
                                          : "None of the";
    return share + " regions like these get a first record within " + years(result.horizon) + " (" + period +
           ": the share of the regions not reached at its start that were reached in it).";
}

std::string orderSentence(const CheckFigures& figures) {
    if (!figures.auc.value)
        return "How well the model sorts the regions cannot be checked: " + figures.auc.reason + ".";
    std::string line = "The model sorts them with AUC " + decimalsText(*figures.auc.value, 2);
    if (figures.scoreAuc.value)
        line += " (the early-late score alone: " + decimalsText(*figures.scoreAuc.value, 2) + ")";
    return line + "; .5 is a coin, 1 a perfect order.";
}

std::string levelSentence(const RiskCheck& check, const CheckFigures& figures) {
    const std::string period = periodText(check.cutoff, check.upTo);
    if (!figures.predictedToObserved.value)
        return "Checked on " + period + " it predicted " + arrivalsText(figures.predictedArrivals) +
               " arrivals where none happened.";
    // A ratio that reads 1 at two digits is said as a plain ratio is read: "as many".
    const std::string ratio = ratioText(*figures.predictedToObserved.value);
    return "Checked on " + period + " it predicted " + (ratio == "1" ? std::string() : ratio + " times ") +
           "as many arrivals as happened (" + arrivalsText(figures.predictedArrivals) + " against " +
           std::to_string(figures.arrivals) + ").";
}

std::string skillSentence(const CheckFigures& figures) {
    if (!figures.brierSkill.value) return "There is no Brier skill score: " + figures.brierSkill.reason + ".";
    const double bss = *figures.brierSkill.value;
    const std::string text = decimalsText(bss, 3, true);
    if (bss > 0)
        return "Its Brier skill score over the base rate is " + text +
               ": as a probability it beats giving every region the base rate.";
    return "Its Brier skill score over the base rate is " + text +
           ": as a probability it is no better than giving every region the base rate; trust its order more than its "
           "level.";
}

}  // namespace

std::vector<std::string> riskSentences(const RiskResult& result) {
    std::vector<std::string> out;
    if (!result.riskReason.empty()) out.push_back("No risk for " + result.target + ": " + result.riskReason + ".");
    out.push_back(baseRateSentence(result));
    const RiskCheck& check = result.check;
    if (!check.figures) {
        out.push_back("The risk cannot be checked: " + check.reason + ".");
        return out;
    }
    out.push_back(orderSentence(*check.figures));
    out.push_back(levelSentence(check, *check.figures));
    out.push_back(skillSentence(*check.figures));
    return out;
}

std::string riskNoteSentence(const std::string& note) { return "Note: " + note + "."; }

}  // namespace el::engine
