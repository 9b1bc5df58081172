#pragma once
// The message of the exception of type E that an action throws, or "no error".

#include <string>

namespace el::test {

template <class E, class Action>
std::string errorText(Action&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace el::test
