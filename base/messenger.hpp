#pragma once
// Messages for the user that must be acknowledged before work goes on (the window's
// message box, a line on the batch runner's standard error).

#include <string>

namespace el {

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void message(const std::string& text) = 0;
};

}  // namespace el
