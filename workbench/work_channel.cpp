#include "workbench/work_channel.hpp"

namespace el::workbench {

bool WorkNews::empty() const {
    for (const auto& caption : captions)
        if (caption) return false;
    return log.empty() && !progress && !busy && settings.empty();
}

void WorkNews::add(WorkNews&& later) {
    for (LogEntry& entry : later.log) {
        if (entry.clear) log.clear();  // lines cleared away need not travel
        log.push_back(std::move(entry));
    }
    for (std::size_t i = 0; i < kLabelCount; ++i)
        if (later.captions[i]) captions[i] = std::move(later.captions[i]);
    if (later.progress) progress = later.progress;
    if (later.busy) busy = later.busy;
    for (auto& change : later.settings) settings.push_back(std::move(change));
}

void WorkChannel::publish(WorkNews&& news) {
    const std::lock_guard lock(mutex_);
    news_.add(std::move(news));
    wanted_.store(false, std::memory_order_relaxed);
}

void WorkChannel::ask(const std::string& text) {
    std::unique_lock lock(mutex_);
    if (abandoned_) return;
    question_ = text;
    questionTaken_ = false;
    answered_.wait(lock, [this] { return !question_ || abandoned_; });
}

void WorkChannel::finish() {
    const std::lock_guard lock(mutex_);
    finished_ = true;
}

WorkChannel::Taken WorkChannel::take(bool withQuestion) {
    const std::lock_guard lock(mutex_);
    Taken taken;
    taken.news = std::exchange(news_, {});
    if (withQuestion && question_ && !questionTaken_) {
        taken.question = question_;
        questionTaken_ = true;
    }
    taken.finished = finished_;
    wanted_.store(true, std::memory_order_relaxed);
    return taken;
}

void WorkChannel::acknowledge() {
    {
        const std::lock_guard lock(mutex_);
        question_.reset();
    }
    answered_.notify_all();
}

void WorkChannel::requestStop() { stop_.raise(); }

void WorkChannel::abandon() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    stop_.raise();
    answered_.notify_all();
}

}  // namespace el::workbench
