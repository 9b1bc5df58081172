#include "bench/pass_bytes.hpp"

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_host.hpp"
#include "engine/pass/power_pass.hpp"

namespace el::bench {
namespace {

engine::PassInput examineWeightInput(const vec::VectorData& data, BenchHost& host) {
    std::vector<std::string> species(data.valname.begin(), data.valname.begin() + data.valn());
    engine::PassInput input;
    input.table = engine::buildSpeciesTable(data, species, "Target");
    input.status = engine::buildStatusMatrix(data, input.table, "null", host, host.quiet);
    auto codes = std::make_shared<const engine::SpeciesCodes>(engine::speciesCodes(input.status));
    input.comparison = std::make_shared<engine::SpeciesComparisons>(codes, 1);
    input.packed = engine::packCodes(*codes, 1);
    input.regionviable = engine::regionViable(input.status, input.targetIndex());
    for (const auto& object : data.objects) input.regionNames.push_back(object.name);
    return input;
}

}  // namespace

PassTraffic examineWeightTraffic(const vec::VectorData& data) {
    BenchHost host;
    host.values.set(Setting::TargetSpecies, "Target");
    host.values.set(Setting::ExamineWeight, "1");
    host.values.set(Setting::DoReliability, "0");
    const engine::PassInput input = examineWeightInput(data, host);
    engine::PassFrames frames(*input.packed);
    engine::PassScratch scratch;
    engine::PassListener listener;
    engine::TrialRandom random;
    const engine::PassContext context{host.values, host.quiet, random, scratch, listener, 1, &frames};
    const std::vector<double> powers{0, 5, 10, 19.9};
    double products = 0;
    for (double p1 : powers)
        for (double p2 : powers) {
            engine::PassOutcome pass = engine::computePass(input, p1, p2, context);
            products += pass.scoreIteration.iterations;
            scratch.matrix = std::move(pass.matrix);
        }
    products /= static_cast<double>(powers.size() * powers.size());
    // The codes read, the matrix written, and the matrix read by every product but the first,
    // which is read off the first column.
    const double cells = static_cast<double>(input.status.regions) * input.status.regions;
    const double bytes = cells * 8 * (input.packed->planes + 1 + (products - 1));
    return {bytes, products};
}

double copyBandwidth() {
    const std::size_t size = kCopyBytes;
    std::vector<char> from(size, 1), to(size, 0);
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to.data(), from.data(), size);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        best = std::max(best, 2.0 * static_cast<double>(size) / took.count());
    }
    return best;
}

}  // namespace el::bench
