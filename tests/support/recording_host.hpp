#pragma once
// Everything a run or a Read talks to, for tests: keeps every message, caption and log
// line in the order they came, and answers settings from a plain store.

#include <string>
#include <vector>

#include "engine/run/engine.hpp"
#include "vector/vector_file.hpp"

namespace el::test {

class RecordingHost : public SettingsSource, public LogSink, public Messenger, public Feedback {
public:
    struct Event {
        enum class Kind { Message, Caption, Log, ClearLog } kind;
        Label label = Label::Status;  // for captions
        std::string text;
    };

    void message(const std::string& text) override {
        messages.push_back(text);
        events.push_back({Event::Kind::Message, Label::Status, text});
    }
    void checkpoint() override { ++yields; }
    void caption(Label label, const std::string& text) override {
        captions[static_cast<int>(label)] = text;
        events.push_back({Event::Kind::Caption, label, text});
    }
    void appendLog(const std::string& line) override {
        log.push_back(line);
        events.push_back({Event::Kind::Log, Label::Status, line});
    }
    void clearLog() override {
        log.clear();
        events.push_back({Event::Kind::ClearLog, Label::Status, {}});
    }
    std::string setting(Setting id) const override { return values.get(id); }
    void setSetting(Setting id, const std::string& value) override { values.set(id, value); }

    engine::RunHooks hooks() { return {*this, *this, *this, *this}; }
    vec::ReadHooks readHooks() { return {*this, *this, *this}; }
    // So that a test hands the recorder itself wherever a run or a Read wants its hooks.
    operator engine::RunHooks() { return hooks(); }
    operator vec::ReadHooks() { return readHooks(); }

    // Every caption text shown on one label, in order.
    std::vector<std::string> captionsOf(Label label) const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.kind == Event::Kind::Caption && e.label == label) out.push_back(e.text);
        return out;
    }
    const std::string& shown(Label label) const { return captions[static_cast<int>(label)]; }

    SettingValues values;
    std::vector<std::string> messages;
    std::vector<std::string> log;
    std::vector<Event> events;
    std::string captions[3];
    long yields = 0;
};

}  // namespace el::test
