#include "base/numtext.hpp"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace el {
namespace {

// %.15G text without sign handling: digits, optional point, optional exponent.
std::string general15(double magnitude) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::general, 15);
    std::string text(buf, res.ptr);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string strnum(double value) {
    if (std::isnan(value)) return " NaN";
    if (std::isinf(value)) return value > 0 ? " Inf" : "-Inf";
    const bool negative = value < 0;  // -0.0 is not negative: it prints as " 0"
    std::string digits = general15(std::fabs(value));
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
    return (negative ? "-" : " ") + digits;
}

std::string printed(double value) { return strnum(value) + " "; }

std::string plainnum(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    if (value == 0) value = 0;  // no "-0"
    std::string digits = general15(std::fabs(value));
    return (value < 0 ? "-" : "") + digits;
}

std::string decimalnum(double value) {
    if (!std::isfinite(value)) return "";
    const std::string general = plainnum(value);
    const auto e = general.find('E');
    if (e == std::string::npos) return general;
    const bool negative = general[0] == '-';
    std::string digits = general.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    if (const auto point = digits.find('.'); point != std::string::npos) digits.erase(point, 1);
    // The mantissa has one digit before its point; `point` is where the point goes now.
    const long point = 1 + std::stol(general.substr(e + 1));
    std::string text;
    if (point <= 0) text = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    else if (static_cast<std::size_t>(point) >= digits.size())
        text = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    else text = digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
    return (negative ? "-" : "") + text;
}

std::optional<double> parseNumber(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    const std::string_view body = text.substr(begin, end - begin);

    // Check the shape by hand so that from_chars never sees anything it would take
    // more liberally (it accepts "inf", "nan" and hexadecimal).
    std::size_t i = 0;
    const bool negative = i < body.size() && body[i] == '-';
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    const std::size_t mantissaStart = i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < body.size() && isDigit(body[i])) ++i, ++intDigits;
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && isDigit(body[i])) ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return std::nullopt;
    long exponent = 0;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) expNegative = body[i++] == '-';
        std::size_t expDigits = 0;
        while (i < body.size() && isDigit(body[i])) {
            if (exponent < 100000) exponent = exponent * 10 + (body[i] - '0');
            ++i, ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != body.size()) return std::nullopt;

    const std::string_view mantissaAndExponent = body.substr(mantissaStart);
    double result = 0;
    const auto res = std::from_chars(mantissaAndExponent.data(),
                                     mantissaAndExponent.data() + mantissaAndExponent.size(), result,
                                     std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Out of range: an overflow is not a number, an underflow reads as zero. Tell them
        // apart by the decimal magnitude of the text.
        const std::string_view intPart = mantissaAndExponent.substr(0, intDigits);
        const std::size_t firstSignificant = intPart.find_first_not_of('0');
        long magnitude = exponent;
        if (firstSignificant != std::string_view::npos) {
            magnitude += static_cast<long>(intDigits - firstSignificant);
        } else {
            const std::string_view fracPart = mantissaAndExponent.substr(intDigits + 1, fracDigits);
            const std::size_t fracSignificant = fracPart.find_first_not_of('0');
            if (fracSignificant == std::string_view::npos) return negative ? -0.0 : 0.0;
            magnitude -= static_cast<long>(fracSignificant);
        }
        if (magnitude <= 0) return negative ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != mantissaAndExponent.data() + mantissaAndExponent.size())
        return std::nullopt;
    return negative ? -result : result;
}

double roundHalfEven(double value) {
    // nearbyint honours the current rounding mode, which is round-to-nearest-even
    // unless someone changed it; compute it explicitly instead.
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

}  // namespace el
