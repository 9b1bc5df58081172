#include "workbench/background_step.hpp"

#include <exception>
#include <utility>

namespace el::workbench {

BackgroundStep::BackgroundStep(engine::SettingsCopy& settings, StepDisplay display, QObject* parent)
    : QObject(parent), settings_(settings), display_(std::move(display)) {
    timer_.setInterval(kLookIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &BackgroundStep::look);
}

BackgroundStep::~BackgroundStep() { stop(); }

void BackgroundStep::start(Work work, std::function<void()> done) {
    if (active()) return;
    channel_ = std::make_shared<WorkChannel>();
    done_ = std::move(done);
    thread_ = std::thread([channel = channel_, &settings = settings_, work = std::move(work)] {
        WorkerHooks hooks(*channel, settings);
        try {
            work(hooks);
        } catch (const Cancelled&) {
        } catch (const std::exception& error) {
            hooks.message(std::string("The work stopped: ") + error.what());
        }
        hooks.flush();
        channel->finish();
    });
    timer_.start();
}

void BackgroundStep::requestStop() {
    if (channel_) channel_->requestStop();
}

void BackgroundStep::showNews() {
    if (!channel_ || looking_) return;
    display_.show(channel_->take(false).news);
}

void BackgroundStep::look() {
    if (!channel_ || looking_) return;
    const std::shared_ptr<WorkChannel> channel = channel_;
    looking_ = true;
    WorkChannel::Taken taken = channel->take(display_.canAsk());
    display_.show(taken.news);
    if (taken.question) {
        display_.message(*taken.question);
        channel->acknowledge();
    }
    looking_ = false;
    // stop() may have ended the work while the message was open.
    if (taken.finished && channel_ == channel) end();
}

void BackgroundStep::end() {
    timer_.stop();
    thread_.join();
    channel_.reset();
    if (auto done = std::exchange(done_, {})) done();
}

void BackgroundStep::stop() {
    timer_.stop();
    if (!channel_) return;
    channel_->abandon();
    thread_.join();
    channel_.reset();
    done_ = {};
}

}  // namespace el::workbench
