#pragma once
// Messages for the user that must be acknowledged before work goes on (the window's
// message box, a line on the batch runner's standard error), and the plain list of
// messages that callers with no one to show them to keep.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace el {

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void message(const std::string& text) = 0;
};

// The messages, from any thread, in the order they came.
class MessageList : public Messenger {
public:
    void message(const std::string& text) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        texts_.push_back(text);
    }
    // The messages so far; the list is empty afterwards.
    std::vector<std::string> take() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(texts_, {});
    }

private:
    std::mutex mutex_;
    std::vector<std::string> texts_;
};

}  // namespace el
