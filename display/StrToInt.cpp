#include "StrToInt.h"

namespace lcd {

namespace {

std::string NotAnIntegerMessage(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 32);
    message.append("'").append(text).append("' is not a valid integer value");
    return message;
}

}  // namespace

ConversionError::ConversionError(std::string_view text) : std::runtime_error(NotAnIntegerMessage(text)) {}

std::int32_t StrToInt(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ') {
        ++first;
    }
    while (last > first && text[last - 1] == ' ') {
        --last;
    }
    bool negative = false;
    if (first < last && (text[first] == '+' || text[first] == '-')) {
        negative = text[first] == '-';
        ++first;
    }
    if (first == last) {
        throw ConversionError(text);
    }
    // Accumulate as a negative number so that -2147483648 fits without overflow.
    constexpr std::int64_t lowest = -2'147'483'648LL;
    std::int64_t value = 0;
    for (std::size_t i = first; i < last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            throw ConversionError(text);
        }
        value = value * 10 - (c - '0');
        if (value < lowest) {
            throw ConversionError(text);
        }
    }
    if (!negative) {
        value = -value;
        if (value > 2'147'483'647LL) {
            throw ConversionError(text);
        }
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace lcd
