#include "figures/text_fit.hpp"

#include "figures/font_text.hpp"

namespace el::figures {
namespace {

constexpr double kAscent = 0.93;  // of the font size, from the top of a line to its baseline

std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    while (length > 1 && at + length > text.size()) --length;
    return length;
}

// A word too wide for a line, broken into pieces that fit (at least one character each).
std::vector<std::string> breakWord(std::string_view word, double width, double size) {
    std::vector<std::string> pieces{""};
    for (std::size_t at = 0; at < word.size();) {
        const std::size_t n = characterLength(word, at);
        const std::string longer = pieces.back() + std::string(word.substr(at, n));
        if (!pieces.back().empty() && textWidth(longer, size) > width) pieces.push_back(std::string(word.substr(at, n)));
        else pieces.back() = longer;
        at += n;
    }
    return pieces;
}

}  // namespace

std::vector<std::string> wrapLines(std::string_view text, double width, double size) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        const std::string joined = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (textWidth(joined, size) <= width) {
            line = joined;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        if (textWidth(word, size) <= width) {
            line = std::string(word);
            continue;
        }
        std::vector<std::string> pieces = breakWord(word, width, size);
        line = pieces.back();
        pieces.pop_back();
        lines.insert(lines.end(), pieces.begin(), pieces.end());
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

FittedText fitText(std::string_view text, double width, double size, double minSize) {
    const double full = textWidth(text, size);
    if (full <= width) return {size, {std::string(text)}};
    const double shrunk = size * width / full;
    if (shrunk >= minSize) {
        // Widths scale with the size; the margin keeps rounding from overhanging.
        const double fitting = shrunk * 0.999;
        return {fitting, {std::string(text)}};
    }
    return {size, wrapLines(text, width, size)};
}

double placeText(Layer& layer, const FittedText& text, double x, double top, TextAnchor anchor, Rgb colour) {
    double y = top;
    for (const std::string& line : text.lines) {
        layer.labels.push_back({{x, y + text.size * kAscent}, line, text.size, anchor, colour});
        y += text.lineHeight();
    }
    return y;
}

}  // namespace el::figures
