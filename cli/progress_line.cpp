#include "cli/progress_line.hpp"

#include <cmath>
#include <cstdio>

namespace el::batch {
namespace {

const char* stageName(ProgressStage stage) {
    switch (stage) {
    case ProgressStage::ReadObjects: return "Reading objects";
    case ProgressStage::Trials: return "Trials";
    case ProgressStage::Passes: return "Power passes";
    case ProgressStage::Hindcasts: return "Hindcast years";
    }
    return "";
}

}  // namespace

std::string clockText(Seconds time) {
    const long long total = time.count() > 0 && std::isfinite(time.count()) ? static_cast<long long>(time.count()) : 0;
    char text[40];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

std::string progressText(ProgressStage stage, long long done, long long total, Seconds elapsed,
                         std::optional<Seconds> left) {
    std::string text = std::string(stageName(stage)) + " " + std::to_string(done) + " of " + std::to_string(total);
    if (total > 0) text += " (" + std::to_string(done * 100 / total) + "%)";
    text += ", " + clockText(elapsed) + " elapsed";
    if (left) text += ", about " + clockText(*left) + " left";
    return text;
}

ProgressLine::ProgressLine(std::ostream& out, std::chrono::milliseconds interval)
    : out_(out), interval_(interval), start_(Clock::now()) {}

void ProgressLine::update(ProgressStage stage, long long done, long long total) {
    const auto now = Clock::now();
    // Every count goes to the estimate, drawn or not, so that it sees each start-over.
    const std::optional<Seconds> left = estimate_.update(stage, done, total, now - start_);
    if (static_cast<int>(stage) != stage_) drawNow_ = true;
    stage_ = static_cast<int>(stage);
    if (!drawNow_ && now - lastDraw_ < interval_) return;
    drawNow_ = false;
    lastDraw_ = now;
    std::string text = progressText(stage, done, total, now - start_, left);
    const std::size_t length = text.size();
    if (length < shown_) text.append(shown_ - length, ' ');
    out_ << '\r' << text << std::flush;
    shown_ = length;
}

void ProgressLine::clear() {
    if (shown_ == 0) return;
    out_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
    shown_ = 0;
    drawNow_ = true;
}

}  // namespace el::batch
