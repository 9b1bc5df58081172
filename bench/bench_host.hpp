#pragma once
// What a benchmark's runs talk to: settings from a plain store, messages to standard error,
// log lines counted, progress dropped.

#include <iostream>

#include "engine/engine.hpp"
#include "vector/vector_file.hpp"

namespace el::bench {

class BenchHost : public Messenger, public LogSink {
public:
    void message(const std::string& text) override { std::cerr << "earlylate: " << text << '\n'; ++messages; }
    void appendLog(const std::string&) override { ++logLines; }
    void clearLog() override { logLines = 0; }

    engine::RunHooks hooks() { return {values, *this, *this, quiet}; }
    ReadHooks readHooks() { return {values, *this, quiet}; }

    SettingValues values;
    Feedback quiet;
    long logLines = 0;
    int messages = 0;
};

}  // namespace el::bench
