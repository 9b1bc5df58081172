#include "engine/risk/inner_scores.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

#include "base/cancel.hpp"
#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "base/work_pool.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/run/engine.hpp"

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

class DiscardedLog : public LogSink {
public:
    void appendLog(const std::string&) override {}
    void clearLog() override {}
};

// A worker's checkpoints end its run once the token is raised; on the calling thread they
// also ask the caller, whose Cancel raises the token for every worker.
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

SpeciesScore scoreOf(const InnerRunRequest& request, const vec::VectorData& masked, int target, Feedback& feedback) {
    SettingValues settings = scoreOnly(request.settings, request.species[static_cast<std::size_t>(target)]);
    RunRequest run;
    run.data = &masked;
    run.species = request.species;
    run.sourceWritable = false;
    run.missvalue = request.missvalue;
    run.calculationDate = request.calculationDate;
    DiscardedLog log;
    MessageList messages;
    Engine engine;
    const RunResult result = engine.run(run, {settings, log, messages, feedback});
    if (result.status == RunStatus::Cancelled) throw Cancelled{};
    SpeciesScore out;
    if (result.status != RunStatus::Completed) {
        const auto shown = messages.take();
        out.error = shown.empty() ? std::string("The run stopped") : shown.back();
        return out;
    }
    out.ran = true;
    out.score.assign(masked.objects.size(), std::nullopt);
    for (std::size_t p = 0; p < result.regno.size(); ++p)
        out.score[static_cast<std::size_t>(result.regno[p])] = result.score[p];
    return out;
}

}  // namespace

std::vector<SpeciesScore> innerScores(const InnerRunRequest& request, double cutoff, const std::vector<int>& targets,
                                      Feedback& feedback, RunCount count) {
    feedback.checkpoint();  // on the calling thread, whatever the workers take
    const vec::VectorData masked = maskLaterDates(*request.data, request.species, cutoff);  // once per cut-off
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
                    scores[j] = scoreOf(request, masked, targets[j], own);
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
