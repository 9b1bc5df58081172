#include "engine/risk/inner_scores.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>

#include "base/cancel.hpp"
#include "base/messenger.hpp"
#include "base/work_pool.hpp"
#include "engine/hindcast/cutoff_forecasts.hpp"
#include "engine/model/run_error.hpp"

namespace el::engine {
namespace {

// The score comes from the eigenvector alone: no fluctuation trials (a run with them never
// excludes regions, so neither does this one), no similarity or matrix listing, no file.
SettingValues scoreOnly(const SettingValues& given, const std::string& target) {
    SettingValues settings = given;
    if (isOn(settings, Setting::DoReliability)) settings.set(Setting::ExcludeLimited, std::string(kOff));
    settings.set(Setting::DoReliability, std::string(kOff));
    settings.set(Setting::ExamineWeight, std::string(kOff));
    settings.set(Setting::AddPrediction, std::string(kOff));
    settings.set(Setting::SimOutput, "none");
    settings.set(Setting::ElMatrixOutput, "none");
    settings.set(Setting::Threads, "1");  // the runs themselves go on in parallel
    settings.set(Setting::TargetSpecies, target);
    return settings;
}

class JobFeedback : public Feedback {
public:
    JobFeedback(StopToken& stop, Feedback* caller) : stop_(stop), caller_(caller) {}
    void checkpoint() override {
        stop_.check<Cancelled>();
        if (caller_ == nullptr) return;
        try {
            caller_->checkpoint();
        } catch (const Cancelled&) {
            stop_.raise();
            throw;
        }
    }

private:
    StopToken& stop_;
    Feedback* caller_;
};

SpeciesScore scoreOf(const InnerRunRequest& request, const CutoffForecasts& shared, int target, Feedback& feedback) {
    const std::string& name = request.species[static_cast<std::size_t>(target)];
    SpeciesScore out;
    const auto variable = shared.targetNamed(name);
    if (!variable) {
        out.error = "\"" + name + "\" is not among the species analysed";
        return out;
    }
    TargetForecast forecast = shared.forecast(*variable, scoreOnly(request.settings, name), feedback);
    if (!forecast.completed) {
        out.error = forecast.error.empty() ? std::string("The run stopped") : forecast.error;
        return out;
    }
    out.ran = true;
    out.score.assign(request.data->objects.size(), std::nullopt);
    for (std::size_t p = 0; p < forecast.regno.size(); ++p)
        out.score[static_cast<std::size_t>(forecast.regno[p])] = forecast.score[p];
    return out;
}

}  // namespace

std::vector<SpeciesScore> innerScores(const InnerRunRequest& request, double cutoff, const std::vector<int>& targets,
                                      Feedback& feedback, RunCount count) {
    feedback.checkpoint();  // on the calling thread, whatever the workers take
    MessageList messages;   // what the runs would have shown on the way
    std::optional<CutoffForecasts> shared;  // once per cut-off
    try {
        shared.emplace(*request.data, request.species, request.missvalue, cutoff, std::max(request.threads, 1),
                       messages, feedback);
    } catch (const RunError& error) {
        std::vector<SpeciesScore> refused(targets.size());
        for (SpeciesScore& score : refused) score.error = error.what();
        return refused;
    }
    std::vector<SpeciesScore> scores(targets.size());
    std::atomic<std::size_t> next{0};
    std::atomic<long long> done{0};
    StopToken stop;
    std::mutex failureMutex;
    std::exception_ptr failure;
    const int threads = std::max(1, std::min(request.threads, static_cast<int>(targets.size())));
    try {
        onThreads(threads, [&](int t) {
            JobFeedback own(stop, t == 0 ? &feedback : nullptr);
            try {
                for (std::size_t j = next++; j < targets.size() && !stop.raised(); j = next++) {
                    scores[j] = scoreOf(request, *shared, targets[j], own);
                    ++done;
                    if (t == 0) feedback.progress(ProgressStage::Hindcasts, count.done + done, count.total);
                }
            } catch (const Cancelled&) {
                stop.raise();
                throw;
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
                stop.raise();  // the others end at their next checkpoint
                throw;
            }
        });
    } catch (const Cancelled&) {
        if (failure) std::rethrow_exception(failure);  // what went wrong, not the stop it caused
        throw;
    }
    return scores;
}

}  // namespace el::engine
