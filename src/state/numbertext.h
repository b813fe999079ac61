#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorix {

// Fixed-decimal text as the patterns "0.0" .. "0.00000000" give it: the value's 15-significant-digit
// decimal form rounded half away from zero to `decimals` places, at least one integer digit, a "-"
// only when the shown digits are not all zero. `separator` is the decimal point to write.
[[nodiscard]] std::string FormatFixed(double value, int decimals, char separator = '.');

// FormatFixed with the number of decimals taken from a pattern such as "0.000"; an empty or
// unknown pattern formats with no decimals.
[[nodiscard]] std::string FormatPattern(double value, std::string_view pattern, char separator = '.');

// Whether the blank that stands in place of a sign is written for values that are not negative.
enum class SignBlank { kOmit, kWrite };

// Short number text: at most 15 significant digits, trailing zeros dropped, no "0" before the
// point for magnitudes below 1 (".5"), exponent form ("1E-07", "2.5E+15") outside 1e-5 .. 1e15.
[[nodiscard]] std::string ShortNumberText(double value, SignBlank blank = SignBlank::kOmit);

// The number at the start of a text: blanks skipped, optional sign, digits with "." as the decimal
// point, optional exponent. 0 when the text does not start with a number; an exponent beyond the
// double range gives an infinity (or 0 for tiny values), never a trap.
[[nodiscard]] double ReadLeadingNumber(std::string_view text);
// The number a whole text holds: blanks may stand before and after it, nothing else. Empty for
// "54174. 4301" or "1.5e3 x", which start with a number but are not one.
[[nodiscard]] std::optional<double> ReadWholeNumber(std::string_view text);
// The blanks that reading a leading number skips.
[[nodiscard]] bool IsLeadingBlank(int c);

// Rounds to the nearest integer with halves to the even neighbour; empty when the result does not
// fit the type (NaN and infinities never fit).
[[nodiscard]] std::optional<std::int16_t> RoundToInt16(double value);
[[nodiscard]] std::optional<std::int32_t> RoundToInt32(double value);

// RoundToInt16 held to the int16 range instead of failing; NaN gives 0.
[[nodiscard]] std::int16_t RoundClampInt16(double value);

// Greatest integer not above the value.
[[nodiscard]] double Int(double value);
// The value truncated toward zero.
[[nodiscard]] double Fix(double value);

} // namespace quorix
