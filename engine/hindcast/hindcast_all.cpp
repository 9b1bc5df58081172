#include "engine/hindcast/hindcast_all.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>

#include "base/cancel.hpp"
#include "base/messenger.hpp"
#include "base/text.hpp"
#include "base/work_pool.hpp"
#include "engine/hindcast/cutoff_forecasts.hpp"
#include "engine/kernels/status_matrix.hpp"
#include "engine/model/run_error.hpp"

namespace el::engine {
namespace {

// How often the calling thread asks the caller about a Cancel while it waits for the others.
constexpr auto kYieldInterval = std::chrono::milliseconds(20);

struct Job {
    double year = 0;
    std::string species;
};

// How many masked runs have ended, for the calling thread to wait on.
class JobsDone {
public:
    void add() {
        {
            const std::lock_guard lock(mutex_);
            ++done_;
        }
        changed_.notify_all();
    }
    long long count() const {
        const std::lock_guard lock(mutex_);
        return done_;
    }
    // Returns once a run ends or the stop token is raised, or after `interval` at the latest.
    void await(long long seen, const StopToken& stop, std::chrono::milliseconds interval) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, interval, [&] { return done_ != seen || stop.raised(); });
    }
    void wake() {
        { const std::lock_guard lock(mutex_); }
        changed_.notify_all();
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    long long done_ = 0;
};

// The feedback of the masked runs of one worker: each checkpoint stops the run once the
// stop token is raised. On the calling thread it also asks the caller (a Cancel there
// raises the token for every worker) and shows how many runs are done.
class JobFeedback : public Feedback {
public:
    JobFeedback(StopToken& stop, Feedback* caller, const JobsDone& done, long long total)
        : stop_(stop), caller_(caller), done_(done), total_(total) {}

    void checkpoint() override {
        stop_.check<Cancelled>();
        if (caller_ == nullptr) return;
        try {
            caller_->checkpoint();
        } catch (const Cancelled&) {
            stop_.raise();
            throw;
        }
        const long long done = done_.count();
        if (done != shown_) caller_->progress(ProgressStage::Hindcasts, shown_ = done, total_);
    }

private:
    StopToken& stop_;
    Feedback* caller_;
    const JobsDone& done_;
    long long total_;
    long long shown_ = -1;
};

// The first error other than a stop that a worker met, kept for the caller.
class FirstFailure {
public:
    void keep(std::exception_ptr error) {
        const std::lock_guard lock(mutex_);
        if (!error_) error_ = std::move(error);
    }
    void rethrowIfAny() {
        const std::lock_guard lock(mutex_);
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::mutex mutex_;
    std::exception_ptr error_;
};

// The variable each name reads (the last one of that name), or -1.
std::vector<int> variablesOf(const vec::VectorData& data, const std::vector<std::string>& names) {
    std::map<std::string, int> last;
    for (int v = 0; v < data.valn(); ++v) last[data.valname[static_cast<std::size_t>(v)]] = v;
    std::vector<int> out;
    for (const std::string& name : names) {
        const auto found = last.find(name);
        out.push_back(found == last.end() ? -1 : found->second);
    }
    return out;
}

bool eligibleVariable(const vec::VectorData& data, int variable, double year, const HindcastEligibility& rules) {
    if (variable < 0) return false;
    int before = 0, after = 0, unreached = 0;
    for (const vec::VectorObject& object : data.objects) {
        const auto status = readStatus(object.values[static_cast<std::size_t>(variable)]);
        if (!status) continue;
        if (status->kind == StatusKind::Date) ++(status->date <= year ? before : after);
        if (status->kind == StatusKind::NotYetArrived) ++unreached;
    }
    return before >= rules.minBefore && after >= rules.minAfter && unreached >= rules.minUnreached;
}

// The eligible species of every year, year after year, in candidate order.
std::vector<std::vector<Job>> eligibleJobs(const AllSpeciesRequest& request) {
    const std::vector<int> variables = variablesOf(*request.base.data, request.targets);
    std::vector<std::vector<Job>> jobs;
    for (double year : request.years) {
        jobs.emplace_back();
        for (std::size_t t = 0; t < request.targets.size(); ++t)
            if (eligibleVariable(*request.base.data, variables[t], year, request.rules))
                jobs.back().push_back({year, request.targets[t]});
    }
    return jobs;
}

// The figures of a hindcast come from the predicted dates alone, which the fluctuation
// trials never change: the runs leave them out. A run with trials never excludes regions
// with few relations, so neither does the run without them.
void withoutTrials(SettingValues& settings) {
    if (!isOn(settings, Setting::DoReliability)) return;
    settings.set(Setting::DoReliability, std::string(kOff));
    settings.set(Setting::ExcludeLimited, std::string(kOff));
}

// The single-target hindcast of one species from its year's shared data, on this thread.
SpeciesHindcast runJob(const AllSpeciesRequest& request, const RegionCentres& centres, const CutoffForecasts& shared,
                       const Job& job, Feedback& feedback) {
    SettingValues settings = request.base.settings;
    settings.set(Setting::TargetSpecies, job.species);
    withoutTrials(settings);
    SpeciesHindcast out;
    out.year = job.year;
    out.species = job.species;
    const auto target = shared.targetNamed(job.species);
    if (!target) throw RunError("\"" + job.species + "\" is not among the species analysed");
    TargetForecast forecast = shared.forecast(*target, settings, feedback);
    if (!forecast.completed) {
        out.error = std::move(forecast.error);
        return out;
    }
    out.ran = true;
    const MaskedForecast masked{job.species, std::move(forecast.regno), forecast.fit.predictable,
                                std::move(forecast.predicted)};
    out.figures = scoreRegions(scoredRegions(*request.base.data, centres, masked, job.year));
    return out;
}

// What the runs of one year share while they go on.
struct YearWork {
    const AllSpeciesRequest& request;
    const RegionCentres& centres;
    const CutoffForecasts& shared;
    const std::vector<Job>& jobs;
    SpeciesHindcast* rows;  // one per job
};

// The year's species on up to request.threads threads; the calling thread takes species
// too and, once none is left, keeps answering the caller (a Cancel, the progress of `done`
// of `total`) until the last of them has ended.
void runYearOnThreads(const YearWork& work, JobsDone& done, long long total, Feedback& feedback) {
    std::atomic<std::size_t> next{0};
    StopToken stop;
    FirstFailure failure;
    const int threads = std::max(1, std::min(work.request.threads, static_cast<int>(work.jobs.size())));
    const long long yearDone = done.count() + static_cast<long long>(work.jobs.size());
    try {
        onThreads(threads, [&](int t) {
            JobFeedback own(stop, t == 0 ? &feedback : nullptr, done, total);
            try {
                for (std::size_t j = next++; j < work.jobs.size() && !stop.raised(); j = next++) {
                    work.rows[j] = runJob(work.request, work.centres, work.shared, work.jobs[j], own);
                    done.add();
                    own.checkpoint();
                }
                for (long long seen = done.count(); t == 0 && seen < yearDone && !stop.raised(); seen = done.count()) {
                    own.checkpoint();
                    done.await(seen, stop, kYieldInterval);
                }
            } catch (const Cancelled&) {
                stop.raise();
                done.wake();
                throw;
            } catch (...) {
                failure.keep(std::current_exception());
                stop.raise();  // the others end at their next checkpoint
                done.wake();
                throw;
            }
        });
    } catch (const Cancelled&) {
        failure.rethrowIfAny();  // a worker's failure, not the stop it caused, is what went wrong
        throw;
    }
}

// One year: its shared data made once, then every eligible species on it. A year whose data
// a run would refuse gives every species that run's message.
void runYear(const AllSpeciesRequest& request, const RegionCentres& centres, const std::vector<Job>& jobs,
             SpeciesHindcast* rows, JobsDone& done, long long total, Feedback& feedback) {
    if (jobs.empty()) return;
    const HindcastRequest& base = request.base;
    MessageList messages;  // what the runs would have shown on the way
    std::optional<CutoffForecasts> shared;
    try {
        shared.emplace(*base.data, base.species, base.missvalue, jobs.front().year, std::max(request.threads, 1),
                       messages, feedback);
    } catch (const RunError& error) {
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            rows[j] = {jobs[j].year, jobs[j].species, false, error.what(), {}};
            done.add();
        }
        return;
    }
    runYearOnThreads({request, centres, *shared, jobs, rows}, done, total, feedback);
}

}  // namespace

bool eligibleAt(const vec::VectorData& data, const std::string& name, double year, const HindcastEligibility& rules) {
    return eligibleVariable(data, variableNamed(data, name), year, rules);
}

std::vector<std::string> hindcastTargets(const std::vector<std::string>& names,
                                         const std::vector<std::string>& species) {
    for (const std::string& name : names)
        if (std::find(species.begin(), species.end(), name) == species.end())
            throw RunError("\"" + name + "\" is not among the species analysed");
    // Species-list order, whatever order the names came in, each once.
    std::vector<std::string> ordered;
    for (const std::string& name : species)
        if (std::find(names.begin(), names.end(), name) != names.end() &&
            std::find(ordered.begin(), ordered.end(), name) == ordered.end())
            ordered.push_back(name);
    return ordered;
}

std::vector<std::string> hindcastTargets(const std::string& names, const std::vector<std::string>& species) {
    return hindcastTargets(names == "all" ? species : splitAtCommas(names), species);
}

AllSpeciesHindcast runAllSpeciesHindcast(const AllSpeciesRequest& request, Feedback& feedback) {
    if (request.base.data == nullptr) throw RunError("No complete data set is loaded");
    const std::vector<std::vector<Job>> jobs = eligibleJobs(request);
    const RegionCentres centres = regionCentres(*request.base.data);
    long long total = 0;
    for (const auto& year : jobs) total += static_cast<long long>(year.size());
    feedback.progress(ProgressStage::Hindcasts, 0, total);

    std::vector<SpeciesHindcast> rows(static_cast<std::size_t>(total));
    JobsDone done;
    std::size_t first = 0;
    for (const std::vector<Job>& year : jobs) {
        runYear(request, centres, year, rows.data() + first, done, total, feedback);
        first += year.size();
    }
    feedback.progress(ProgressStage::Hindcasts, total, total);
    AllSpeciesHindcast out;
    out.years = spreadByYear(rows, request.years);
    out.rows = std::move(rows);
    return out;
}

}  // namespace el::engine
