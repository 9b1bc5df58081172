#include "run_output.hpp"

#include <optional>

#include "frame_output.hpp"

namespace el::rpkg {
namespace {

double coefficient(double r) { return r == engine::kNotComputable ? NA_REAL : r; }
double orNa(const std::optional<double>& value) { return value ? *value : NA_REAL; }

}  // namespace

Rcpp::List speciesColumns(const engine::RunResult& result) {
    const std::size_t n = result.species.size();
    Rcpp::LogicalVector target(n), predictable(n);
    Rcpp::NumericVector a(n), b(n), rt(n), rv(n), rw(n), sd(n);
    Rcpp::IntegerVector nt(n), nv(n), nw(n);
    for (std::size_t j = 0; j < n; ++j) {
        const engine::SpeciesFit& fit = result.species[j].fit;
        const bool isTarget = static_cast<int>(j) == result.target;
        target[j] = isTarget;
        predictable[j] = fit.predictable;
        a[j] = fit.a;
        b[j] = fit.b;
        rt[j] = coefficient(fit.rt);
        nt[j] = fit.nt;
        rv[j] = isTarget ? coefficient(fit.rv) : NA_REAL;
        nv[j] = isTarget ? fit.nv : NA_INTEGER;
        rw[j] = isTarget ? coefficient(fit.rw) : NA_REAL;
        nw[j] = isTarget ? fit.nt + fit.nv : NA_INTEGER;
        sd[j] = result.trials.ran ? result.species[j].scale * result.trials.vectorshift : NA_REAL;
    }
    return Rcpp::List::create(
        Rcpp::Named("name") = utf8Vector(result.speciesNames), Rcpp::Named("target") = target,
        Rcpp::Named("predictable") = predictable, Rcpp::Named("a") = a, Rcpp::Named("b") = b,
        Rcpp::Named("r_training") = rt, Rcpp::Named("n_training") = nt, Rcpp::Named("r_validation") = rv,
        Rcpp::Named("n_validation") = nv, Rcpp::Named("r_all") = rw, Rcpp::Named("n_all") = nw,
        Rcpp::Named("trial_sd_date") = sd);
}

Rcpp::List weightColumns(const engine::RunResult& result) {
    const engine::SpeciesWeights& weights = result.weights;
    Rcpp::List columns = Rcpp::List::create(Rcpp::Named("species") = utf8Vector(result.speciesNames),
                                            Rcpp::Named("weight") = Rcpp::wrap(weights.weight));
    if (weights.mode == engine::WeightMode::Automatic) {
        Rcpp::LogicalVector viable(weights.viable.size());
        for (std::size_t j = 0; j < weights.viable.size(); ++j) viable[j] = weights.viable[j];
        columns["viable"] = viable;
    }
    const char* mode = weights.mode == engine::WeightMode::Target      ? "target"
                       : weights.mode == engine::WeightMode::Automatic ? "automatic"
                                                                       : "uniform";
    columns.attr("mode") = mode;
    return columns;
}

Rcpp::List gridColumns(const engine::RunResult& result) {
    const std::size_t n = result.weightGrid.size();
    Rcpp::NumericVector p1(n), p2(n), rt(n), rv(n), rw(n);
    for (std::size_t i = 0; i < n; ++i) {
        const engine::WeightGridCell& cell = result.weightGrid[i];
        p1[i] = cell.p1;
        p2[i] = cell.p2;
        rt[i] = coefficient(cell.rt);
        rv[i] = coefficient(cell.rv);
        rw[i] = coefficient(cell.rw);
    }
    return Rcpp::List::create(Rcpp::Named("similarity_power") = p1, Rcpp::Named("sample_power") = p2,
                              Rcpp::Named("r_training") = rt, Rcpp::Named("r_validation") = rv,
                              Rcpp::Named("r_all") = rw);
}

Rcpp::CharacterVector settingsVector(const SettingsSource& settings) {
    std::vector<std::string> names, values;
    for (const SettingInfo& info : settingTable()) {
        names.emplace_back(info.name);
        values.push_back(settings.setting(info.id));
    }
    Rcpp::CharacterVector out = utf8Vector(values);
    out.attr("names") = utf8Vector(names);
    return out;
}

Rcpp::List hindcastColumns(const std::vector<engine::HindcastYear>& years) {
    const std::size_t n = years.size();
    Rcpp::NumericVector year(n), auc(n), spearman(n), mae(n), dAuc(n), dSpearman(n);
    Rcpp::IntegerVector later(n), notReached(n);
    std::vector<std::string> errors(n);
    for (std::size_t i = 0; i < n; ++i) {
        const engine::HindcastYear& y = years[i];
        const engine::HindcastFigures& f = y.figures;
        year[i] = y.year;
        later[i] = y.ran ? f.reachedLater : NA_INTEGER;
        notReached[i] = y.ran ? f.notReached : NA_INTEGER;
        auc[i] = orNa(f.auc);
        spearman[i] = orNa(f.spearman);
        mae[i] = orNa(f.mae);
        dAuc[i] = orNa(f.distanceAuc);
        dSpearman[i] = orNa(f.distanceSpearman);
        errors[i] = y.error;
    }
    return Rcpp::List::create(
        Rcpp::Named("year") = year, Rcpp::Named("reached_later") = later, Rcpp::Named("not_reached") = notReached,
        Rcpp::Named("auc") = auc, Rcpp::Named("spearman") = spearman, Rcpp::Named("mae") = mae,
        Rcpp::Named("distance_auc") = dAuc, Rcpp::Named("distance_spearman") = dSpearman,
        Rcpp::Named("error") = utf8Vector(errors));
}

}  // namespace el::rpkg

namespace el::rpkg {

Rcpp::List hindcastSpreadColumns(const std::vector<engine::HindcastYearSpread>& years) {
    const std::size_t n = years.size();
    Rcpp::NumericVector year(n), share(n);
    Rcpp::IntegerVector species(n);
    Rcpp::List out;
    for (std::size_t i = 0; i < n; ++i) {
        year[i] = years[i].year;
        species[i] = years[i].species;
        share[i] = orNa(years[i].aucBeatsDistance);
    }
    out["year"] = year;
    out["species"] = species;
    using Figure = engine::FigureSpread engine::HindcastYearSpread::*;
    const std::pair<const char*, Figure> figures[] = {
        {"reached_later", &engine::HindcastYearSpread::reachedLater}, {"not_reached", &engine::HindcastYearSpread::notReached},
        {"auc", &engine::HindcastYearSpread::auc},                     {"spearman", &engine::HindcastYearSpread::spearman},
        {"mae", &engine::HindcastYearSpread::mae},                     {"distance_auc", &engine::HindcastYearSpread::distanceAuc},
        {"distance_spearman", &engine::HindcastYearSpread::distanceSpearman}};
    for (const auto& [name, member] : figures) {
        Rcpp::NumericVector mean(n), sd(n);
        for (std::size_t i = 0; i < n; ++i) {
            mean[i] = orNa((years[i].*member).mean);
            sd[i] = orNa((years[i].*member).sd);
        }
        out[std::string(name) + "_mean"] = mean;
        out[std::string(name) + "_sd"] = sd;
    }
    out["auc_beats_distance"] = share;
    return out;
}

}  // namespace el::rpkg
