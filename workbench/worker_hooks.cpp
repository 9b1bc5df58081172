#include "workbench/worker_hooks.hpp"

#include <utility>

namespace el::workbench {

void WorkerHooks::setSetting(Setting id, const std::string& value) {
    settings_.setSetting(id, value);
    pending_.settings.emplace_back(id, value);
    flush();
}

void WorkerHooks::clearLog() {
    pending_.log.clear();
    pending_.log.push_back({true, {}});
}

void WorkerHooks::message(const std::string& text) {
    flush();
    channel_.ask(text);
}

void WorkerHooks::checkpoint() {
    if (channel_.stopRequested()) throw Cancelled{};
    if (channel_.newsWanted() && !pending_.empty()) flush();
}

void WorkerHooks::caption(Label label, const std::string& text) {
    pending_.captions[static_cast<std::size_t>(label)] = text;
}

void WorkerHooks::progress(ProgressStage stage, long long done, long long total) {
    pending_.progress = ProgressNews{stage, done, total};
}

void WorkerHooks::runBusy(bool busy) {
    pending_.busy = busy;
    flush();
}

void WorkerHooks::flush() {
    if (pending_.empty()) return;
    channel_.publish(std::exchange(pending_, {}));
}

}  // namespace el::workbench
