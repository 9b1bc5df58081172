#include "engine/hindcast/hindcast_all.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "base/cancel.hpp"
#include "base/text.hpp"
#include "base/work_pool.hpp"
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

std::vector<Job> eligibleJobs(const AllSpeciesRequest& request) {
    std::vector<Job> jobs;
    for (double year : request.years)
        for (const std::string& name : request.targets)
            if (eligibleAt(*request.base.data, name, year, request.rules)) jobs.push_back({year, name});
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

// The single-target hindcast of one species at one year, its masked run on one thread.
SpeciesHindcast runJob(const AllSpeciesRequest& request, const RegionCentres& centres, const Job& job,
                       Feedback& feedback) {
    HindcastRequest single = request.base;
    single.settings.set(Setting::TargetSpecies, job.species);
    single.settings.set(Setting::Threads, "1");  // the runs themselves go on in parallel
    withoutTrials(single.settings);
    HindcastYear year = hindcastYear(single, centres, job.year, feedback);
    SpeciesHindcast out;
    out.year = job.year;
    out.species = job.species;
    out.ran = year.ran;
    out.error = std::move(year.error);
    out.figures = year.figures;
    return out;
}

}  // namespace

bool eligibleAt(const vec::VectorData& data, const std::string& name, double year, const HindcastEligibility& rules) {
    const int variable = variableNamed(data, name);
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

std::vector<std::string> hindcastTargets(const std::string& names, const std::vector<std::string>& species) {
    std::vector<std::string> chosen;
    for (const std::string& name : names == "all" ? species : splitAtCommas(names)) {
        if (std::find(species.begin(), species.end(), name) == species.end())
            throw RunError("\"" + name + "\" is not among the species analysed");
        if (std::find(chosen.begin(), chosen.end(), name) == chosen.end()) chosen.push_back(name);
    }
    // Species-list order, whatever order the names came in, each once.
    std::vector<std::string> ordered;
    for (const std::string& name : species)
        if (std::find(chosen.begin(), chosen.end(), name) != chosen.end() &&
            std::find(ordered.begin(), ordered.end(), name) == ordered.end())
            ordered.push_back(name);
    return ordered;
}

AllSpeciesHindcast runAllSpeciesHindcast(const AllSpeciesRequest& request, Feedback& feedback) {
    if (request.base.data == nullptr) throw RunError("No complete data set is loaded");
    const std::vector<Job> jobs = eligibleJobs(request);
    const RegionCentres centres = regionCentres(*request.base.data);
    const auto total = static_cast<long long>(jobs.size());
    feedback.progress(ProgressStage::Hindcasts, 0, total);

    std::vector<SpeciesHindcast> rows(jobs.size());
    std::atomic<std::size_t> next{0};
    JobsDone done;
    StopToken stop;
    FirstFailure failure;
    const int threads = std::max(1, std::min(request.threads, static_cast<int>(jobs.size())));
    try {
        onThreads(threads, [&](int t) {
            JobFeedback own(stop, t == 0 ? &feedback : nullptr, done, total);
            try {
                for (std::size_t j = next++; j < jobs.size() && !stop.raised(); j = next++) {
                    rows[j] = runJob(request, centres, jobs[j], own);
                    done.add();
                    own.checkpoint();
                }
                // The calling thread keeps answering the caller (a Cancel, the progress)
                // until the last run on another thread has ended.
                for (long long seen = done.count(); t == 0 && seen < total && !stop.raised(); seen = done.count()) {
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
    feedback.progress(ProgressStage::Hindcasts, total, total);
    AllSpeciesHindcast out;
    out.years = spreadByYear(rows, request.years);
    out.rows = std::move(rows);
    return out;
}

}  // namespace el::engine
