// Checked float32 arithmetic and the game's number <-> text conversions.
// A fault must surface as a run-time error at the step that caused it, never
// as a NaN or infinity that creeps into the frame or the saved progress.

#include "game/Numbers.h"

#include "base/RuntimeError.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>

namespace zw::num {

namespace {

// Every result is formed in double and then rounded once to float32; a NaN
// (invalid operation) or a value beyond float32 is the Overflow fault.
float checked(double result)
{
    if (std::isnan(result))
        throw RuntimeError::overflow();
    const float stored = static_cast<float>(result);
    if (std::isinf(stored))
        throw RuntimeError::overflow();
    return stored;
}

// Ties go to the even neighbour (the default rounding mode), and anything
// that does not land inside the integer's range is an overflow.
template <typename Int>
Int roundToInt(float value)
{
    const double rounded = std::nearbyint(static_cast<double>(value));
    if (std::isnan(rounded) || rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw RuntimeError::overflow();
    return static_cast<Int>(rounded);
}

enum class Parsed { Number, NotANumber, TooBig };

Parsed parse(const QString& text, float& out)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Parsed::NotANumber;

    // The user's own notation first; the C form ("1.5") is accepted too, so
    // values written under another locale still read back.
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok && !std::isinf(value))
        value = QLocale::c().toDouble(trimmed, &ok);

    if (!ok && std::isinf(value))
        return Parsed::TooBig;      // digits, but beyond even double
    if (!ok || !std::isfinite(value))
        return Parsed::NotANumber;  // includes the words "nan" and "inf"

    const float stored = static_cast<float>(value);
    if (std::isinf(stored))
        return Parsed::TooBig;
    out = stored;
    return Parsed::Number;
}

} // namespace

float add(float a, float b) { return checked(static_cast<double>(a) + static_cast<double>(b)); }
float sub(float a, float b) { return checked(static_cast<double>(a) - static_cast<double>(b)); }

float div(float a, float b)
{
    // 0 / 0 is an invalid operation (Overflow); any other finite value over
    // zero is the division-by-zero fault.
    if (b == 0 && std::isfinite(a) && a != 0)
        throw RuntimeError::divisionByZero();
    return checked(static_cast<double>(a) / static_cast<double>(b));
}

std::int16_t toInt16(float value) { return roundToInt<std::int16_t>(value); }
std::int32_t toInt32(float value) { return roundToInt<std::int32_t>(value); }

std::int32_t mod(std::int32_t dividend, std::int32_t divisor)
{
    if (divisor == 0)
        throw RuntimeError::divisionByZero();
    if (divisor == -1)
        return 0; // also keeps INT32_MIN % -1 away from undefined behaviour
    return dividend % divisor;
}

QString toText(float value)
{
    if (value == 0)
        return QStringLiteral("0"); // never "-0"

    // Seven significant digits, trailing zeros dropped, exponent form only
    // where the digits would not fit; to_chars is locale-free, so the user's
    // decimal separator is put in afterwards.
    char buffer[32];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer),
                                      static_cast<double>(value), std::chars_format::general, 7);
    QString text = QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return text;
}

float fromText(const QString& text)
{
    float value = 0;
    switch (parse(text, value)) {
    case Parsed::Number:
        return value;
    case Parsed::TooBig:
        throw RuntimeError::overflow();
    case Parsed::NotANumber:
        break;
    }
    throw RuntimeError::typeMismatch();
}

std::optional<float> tryFromText(const QString& text)
{
    float value = 0;
    if (parse(text, value) == Parsed::Number)
        return value;
    return std::nullopt;
}

} // namespace zw::num
