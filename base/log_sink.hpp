#pragma once
// Where a run's report lines go, and the plain list of lines most callers keep.

#include <string>
#include <vector>

namespace el {

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void appendLog(const std::string& line) = 0;
    virtual void clearLog() = 0;
};

// The log as a list of lines, in the order they came.
class LogList : public LogSink {
public:
    void appendLog(const std::string& line) override { lines.push_back(line); }
    void clearLog() override { lines.clear(); }
    std::vector<std::string> lines;
};

}  // namespace el
