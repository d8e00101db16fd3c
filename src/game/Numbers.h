#pragma once
// Numbers as the game keeps them: levels, counts and coordinates are float32,
// truth values are 16-bit -1/0. Every arithmetic step on the game's values is
// checked, and conversions round half to even and fail loudly when out of
// range, so a fault shows up as a run-time error instead of a silent NaN.

#include <QString>
#include <cstdint>
#include <optional>

namespace zw {

using flag16 = std::int16_t;
inline constexpr flag16 True = -1;
inline constexpr flag16 False = 0;

namespace num {

// Checked float32 arithmetic: each result is formed in double and stored as
// float32. Invalid operation (0 / 0 included) and overflow raise Overflow
// (6); any other finite value divided by zero raises Division by zero (11).
float add(float a, float b);
float sub(float a, float b);
float div(float a, float b);

// float32 to integer: round to nearest, ties to even; Overflow outside the range.
std::int16_t toInt16(float value);
std::int32_t toInt32(float value);

// Remainder of truncating division of two 32-bit integers (sign of the dividend);
// Division by zero (11) for a zero divisor.
std::int32_t mod(std::int32_t dividend, std::int32_t divisor);

// float32 to text: at most seven significant digits, the user's decimal
// separator, no leading blank; whole numbers come out as plain digits.
QString toText(float value);

// Text to float32, the locale-aware inverse of toText. Surrounding blanks are
// allowed. Text that is not a number (an empty text included) raises Type
// mismatch (13); a number beyond float32 raises Overflow (6).
float fromText(const QString& text);

// As fromText, but gives no value instead of raising, for text that is not
// a number and for a number beyond float32 alike.
std::optional<float> tryFromText(const QString& text);

} // namespace num
} // namespace zw
