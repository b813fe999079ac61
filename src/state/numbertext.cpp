#include "state/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quorix {

namespace {

constexpr int kSignificantDigits = 15;

// The magnitude of a finite value as 15 significant decimal digits and the power of ten of the first.
struct DecimalDigits {
    std::string digits; // exactly 15 characters, first one non-zero unless the value is 0
    int exponent = 0;
};

DecimalDigits ToDecimalDigits(double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    DecimalDigits result;
    const std::string_view text(buffer);
    const auto e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.') {
            result.digits += c;
        }
    }
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    result.exponent);
    return result;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Infinity" : "Infinity";
}

// Adds one unit in the last place of a string of decimal digits; returns true on a carry out.
bool IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

int DecimalsOfPattern(std::string_view pattern) {
    const auto point = pattern.find('.');
    if (point == std::string_view::npos) {
        return 0;
    }
    return static_cast<int>(pattern.size() - point - 1);
}

std::string StripTrailingZeros(std::string digits) {
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    return digits;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal exponent of the leading significant digit of a digit run "123.45" (no sign, no exponent).
long LeadingDigitPower(std::string_view mantissa) {
    const auto point = mantissa.find('.');
    const long integerDigits = static_cast<long>(point == std::string_view::npos ? mantissa.size() : point);
    long position = 0;
    for (char c : mantissa) {
        if (c == '.') {
            continue;
        }
        if (c != '0') {
            return integerDigits - 1 - position;
        }
        ++position;
    }
    return std::numeric_limits<long>::min();
}

template <typename T> std::optional<T> RoundToInteger(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0.0) {
        rounded -= std::copysign(1.0, value);
    }
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(rounded);
}

} // namespace

std::string FormatFixed(double value, int decimals, char separator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    decimals = std::clamp(decimals, 0, 30);
    const auto [digits, exponent] = ToDecimalDigits(std::fabs(value));
    // Place the 15 digits on a fixed grid: `kept` holds every digit down to the last decimal.
    const int keptCount = exponent + 1 + decimals;
    std::string kept;
    bool roundUp = false;
    if (keptCount <= 0) {
        roundUp = keptCount == 0 && digits[0] >= '5';
    } else {
        for (int i = 0; i < keptCount; ++i) {
            kept += i < kSignificantDigits ? digits[i] : '0';
        }
        roundUp = keptCount < kSignificantDigits && digits[keptCount] >= '5';
    }
    // Leading zeros so that the integer part has at least one digit and every decimal is present.
    const int needed = decimals + 1;
    if (static_cast<int>(kept.size()) < needed) {
        kept.insert(0, needed - kept.size(), '0');
    }
    if (roundUp && IncrementDigits(kept)) {
        kept.insert(0, 1, '1');
    }
    const bool allZero = kept.find_first_not_of('0') == std::string::npos;
    std::string text = (value < 0 && !allZero) ? "-" : "";
    text += kept.substr(0, kept.size() - decimals);
    if (decimals > 0) {
        text += separator;
        text += kept.substr(kept.size() - decimals);
    }
    return text;
}

std::string FormatPattern(double value, std::string_view pattern, char separator) {
    return FormatFixed(value, DecimalsOfPattern(pattern), separator);
}

std::string ShortNumberText(double value, SignBlank blank) {
    std::string text = value < 0 ? "-" : (blank == SignBlank::kWrite ? " " : "");
    if (!std::isfinite(value)) {
        return text.append(std::isnan(value) ? "NaN" : "Infinity");
    }
    if (value == 0) {
        return text.append("0");
    }
    const auto [allDigits, exponent] = ToDecimalDigits(std::fabs(value));
    const std::string digits = StripTrailingZeros(allDigits);
    const int count = static_cast<int>(digits.size());
    if (exponent < -5 || exponent >= kSignificantDigits) {
        text += digits[0];
        if (count > 1) {
            text.append(".").append(digits, 1);
        }
        char power[16];
        std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return text.append(power);
    }
    if (exponent < 0) {
        return text.append(".").append(-exponent - 1, '0').append(digits);
    }
    if (count <= exponent + 1) {
        return text.append(digits).append(exponent + 1 - count, '0');
    }
    return text.append(digits, 0, exponent + 1).append(".").append(digits, exponent + 1);
}

bool IsLeadingBlank(int c) {
    return c == ' ' || c == '\t';
}

namespace {

// A number read from the start of a text and where it ended; `found` is false when the text does
// not start with one.
struct ScannedNumber {
    double value = 0.0;
    std::size_t end = 0;
    bool found = false;
};

ScannedNumber ScanLeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsLeadingBlank(text[pos])) {
        ++pos;
    }
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    bool anyDigit = false;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        anyDigit = true;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) {
            ++pos;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return {};
    }
    const std::string_view mantissa = text.substr(mantissaStart, pos - mantissaStart);
    std::size_t end = pos;
    long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t epos = pos + 1;
        const bool negativeExponent = epos < text.size() && text[epos] == '-';
        if (epos < text.size() && (text[epos] == '+' || text[epos] == '-')) {
            ++epos;
        }
        if (epos < text.size() && IsDigit(text[epos])) {
            for (; epos < text.size() && IsDigit(text[epos]); ++epos) {
                exponent = std::min(exponent * 10 + (text[epos] - '0'), 1000000000L);
            }
            exponent = negativeExponent ? -exponent : exponent;
            end = epos;
        }
    }
    double magnitude = 0.0;
    const auto [ptr, error] = std::from_chars(text.data() + mantissaStart, text.data() + end, magnitude,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const long power = LeadingDigitPower(mantissa);
        const bool huge = power != std::numeric_limits<long>::min() && power + exponent > 0;
        magnitude = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc() || ptr != text.data() + end) {
        magnitude = 0.0;
    }
    return {negative ? -magnitude : magnitude, end, true};
}

} // namespace

double ReadLeadingNumber(std::string_view text) {
    return ScanLeadingNumber(text).value;
}

std::optional<double> ReadWholeNumber(std::string_view text) {
    const ScannedNumber number = ScanLeadingNumber(text);
    const std::string_view rest = text.substr(std::min(number.end, text.size()));
    if (!number.found || !std::all_of(rest.begin(), rest.end(), IsLeadingBlank)) {
        return std::nullopt;
    }
    return number.value;
}

std::optional<std::int16_t> RoundToInt16(double value) {
    return RoundToInteger<std::int16_t>(value);
}
std::optional<std::int32_t> RoundToInt32(double value) {
    return RoundToInteger<std::int32_t>(value);
}

std::int16_t RoundClampInt16(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return RoundToInt16(std::clamp(value, -32768.0, 32767.0)).value_or(0);
}

double Int(double value) {
    return std::floor(value);
}
double Fix(double value) {
    return std::trunc(value);
}

} // namespace quorix
