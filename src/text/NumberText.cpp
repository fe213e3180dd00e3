#include "text/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "text/AsciiCase.h"

namespace vantorel::text {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of `text` (from `pos`) that is a number:
// sign, digits, point, digits, and an exponent only when digits follow it.
std::size_t NumberLength(std::string_view text, std::size_t pos) {
    std::size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
            ++e;
        }
        if (e < text.size() && IsDigit(text[e])) {
            while (e < text.size() && IsDigit(text[e])) {
                ++e;
            }
            i = e;
        }
    }
    return i - pos;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    const std::size_t length = NumberLength(text, pos);
    if (length == 0) {
        return 0.0;
    }
    const std::string number(text.substr(pos, length));
    const double value = std::strtod(number.c_str(), nullptr);
    // A number too large for a double reads as the largest one, keeping its sign.
    if (std::isinf(value)) {
        return std::copysign(std::numeric_limits<double>::max(), value);
    }
    return value;
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) {
        return floor;
    }
    if (diff > 0.5) {
        return floor + 1.0;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int32_t ToClampedInt(double value, std::int32_t lo, std::int32_t hi) {
    const double rounded = RoundHalfEven(value);
    if (std::isnan(rounded) || rounded <= lo) {
        return lo;
    }
    if (rounded >= hi) {
        return hi;
    }
    return static_cast<std::int32_t>(rounded);
}

std::optional<bool> TextToBoolean(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (EqualsIgnoringAsciiCase(text, "true")) {
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, "false")) {
        return false;
    }
    if (!text.empty() && NumberLength(text, 0) == text.size()) {
        return LeadingNumber(text) != 0.0;
    }
    return std::nullopt;
}

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

std::string DecimalText(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace vantorel::text
