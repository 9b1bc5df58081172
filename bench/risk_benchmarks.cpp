// The risk of a first record for one target: the inner hindcast's early-late runs at two
// cut-offs and the target's own run, the two fits and the check, on range 2 threads.
// "inner_runs" counts the early-late runs, "converged" whether both fits settled.
// The risk hindcast of every species at three cut-offs: one fit per cut-off serves them all.

#include <benchmark/benchmark.h>

#include "base/numtext.hpp"
#include "bench/bench_host.hpp"
#include "bench/peak_memory.hpp"
#include "bench/synthetic_data.hpp"
#include "engine/risk/risk.hpp"
#include "engine/risk/risk_hindcast.hpp"

namespace el::bench {
namespace {

// The species with the most regions not reached by `year`: a target with much at risk.
std::string mostOpenSpecies(const vec::VectorData& data, double year) {
    std::size_t best = 0;
    int bestOpen = -1;
    for (std::size_t s = 0; s < static_cast<std::size_t>(data.valn()); ++s) {
        int open = 0;
        for (const vec::VectorObject& object : data.objects) {
            const std::string& value = object.values[s];
            const auto date = parseNumber(value);
            open += value == "NotYetArrived" || (date && *date > year) ? 1 : 0;
        }
        if (open > bestOpen) {
            best = s;
            bestOpen = open;
        }
    }
    return data.valname[best];
}

// Regions (range 0) and species (range 1) spreading from 1900 to about 1970, so that at the
// as-of year 1935 many species have reached several regions and are still spreading.
void BM_RiskForOneTarget(benchmark::State& state) {
    const vec::VectorData data = makeInvasionData(
        {static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 4, 20261208, 25.0, 20.0, 30.0});
    engine::RiskRequest request;
    request.basis.data = &data;
    request.basis.species.assign(data.valname.begin(), data.valname.begin() + data.valn());
    request.target = mostOpenSpecies(data, 1935);
    request.asOf = 1935;
    request.basis.horizon = 10;
    request.basis.calculationDate = "12-08-2026";
    request.basis.threads = static_cast<int>(state.range(2));
    engine::RiskResult result;
    for (auto _ : state) {
        BenchHost host;
        request.basis.settings = host.values;
        result = engine::computeRisk(request, host.quiet);
    }
    if (!result.model || !result.check.model) state.SkipWithError("no model was fitted");
    const int inner =
        (result.model ? result.model->species : 0) + (result.check.model ? result.check.model->species : 0);
    state.counters["fitted_species"] = inner;
    state.counters["regions_at_risk"] = static_cast<double>(result.regions.size());
    state.counters["converged"] =
        result.model && result.model->converged && result.check.model && result.check.model->converged ? 1 : 0;
    if (result.check.figures && result.check.figures->auc.value)
        state.counters["check_auc"] = *result.check.figures->auc.value;
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// Regions, species, threads.
BENCHMARK(BM_RiskForOneTarget)
    ->Args({42, 43, 1})
    ->Args({42, 43, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Every species at the cut-offs 1925, 1930 and 1935 (horizon 10) on regions (range 0) and
// species (range 1), on range 2 threads. "rows_scored" counts the species-years with an AUC.
void BM_RiskHindcastAllSpecies(benchmark::State& state) {
    const vec::VectorData data = makeInvasionData(
        {static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 4, 20261208, 25.0, 20.0, 30.0});
    engine::RiskHindcastRequest request;
    request.basis.data = &data;
    request.basis.species.assign(data.valname.begin(), data.valname.begin() + data.valn());
    request.basis.horizon = 10;
    request.basis.calculationDate = "12-08-2026";
    request.basis.threads = static_cast<int>(state.range(2));
    for (const double year : {1925.0, 1930.0, 1935.0})
        for (const std::string& species : request.basis.species) request.cases.emplace_back(year, species);
    engine::RiskHindcast hindcast;
    for (auto _ : state) {
        BenchHost host;
        request.basis.settings = host.values;
        hindcast = engine::runRiskHindcast(request, host.quiet);
    }
    int fitted = 0, scored = 0;
    for (const engine::RiskHindcastYear& year : hindcast.years) fitted += year.model ? 1 : 0;
    for (const engine::RiskHindcastRow& row : hindcast.rows) scored += row.auc.value ? 1 : 0;
    if (fitted == 0) state.SkipWithError("no model was fitted");
    state.counters["years_fitted"] = fitted;
    state.counters["rows"] = static_cast<double>(hindcast.rows.size());
    state.counters["rows_scored"] = scored;
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

BENCHMARK(BM_RiskHindcastAllSpecies)
    ->Args({42, 43, 1})
    ->Args({42, 43, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace el::bench
