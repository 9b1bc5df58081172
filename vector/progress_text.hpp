#pragma once
// The percentage the reader shows for object i of n, and a label writer that only
// touches the host when the text changes (100,000 objects give at most 101 texts).

#include <cmath>
#include <string>

#include "base/feedback.hpp"
#include "base/numtext.hpp"

namespace el::vec {

// " 33 %" for 1 of 3: the floor of (i / n) * 100 evaluated in that order.
inline std::string percentText(int i, int n) {
    return strnum(std::floor(static_cast<double>(i) / static_cast<double>(n) * 100.0)) + " %";
}

class ProgressLabel {
public:
    explicit ProgressLabel(Feedback& feedback) : feedback_(feedback) {}
    void show(const std::string& text) {
        if (text == shown_) return;
        shown_ = text;
        feedback_.caption(Label::ReadProgress, text);
    }

private:
    Feedback& feedback_;
    std::string shown_;
};

}  // namespace el::vec
