#pragma once
// What a benchmark's runs talk to: settings from a plain store, messages to standard error,
// log lines counted, progress dropped; a run may be stopped after its first passes.

#include <iostream>

#include "engine/run/engine.hpp"
#include "vector/vector_file.hpp"

namespace el::bench {

// Stops a run (as Cancel does) at its first yield after `passLimit` passes, when it is set.
class BenchFeedback : public Feedback {
public:
    void checkpoint() override {
        if (passLimit > 0 && passesDone >= passLimit) throw Cancelled{};
    }
    void progress(ProgressStage stage, long long done, long long /*total*/) override {
        if (stage == ProgressStage::Passes) passesDone = done;
    }
    long long passLimit = 0;
    long long passesDone = 0;
};

class BenchHost : public Messenger, public LogSink {
public:
    void message(const std::string& text) override { std::cerr << "earlylate: " << text << '\n'; ++messages; }
    void appendLog(const std::string&) override { ++logLines; }
    void clearLog() override { logLines = 0; }

    engine::RunHooks hooks() { return {values, *this, *this, quiet}; }
    vec::ReadHooks readHooks() { return {values, *this, quiet}; }

    SettingValues values;
    BenchFeedback quiet;
    long logLines = 0;
    int messages = 0;
};

}  // namespace el::bench
