// Float32 arithmetic, integer conversion and the number texts.

#include "GameHarness.h"

#include "game/Numbers.h"
#include "base/RuntimeError.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>

namespace zw::test {
namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

int errorOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

TEST(Numbers, RoundsHalfToEven)
{
    const struct { float value; int expected; } cases[] = {
        {0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {3.5f, 4}, {-2.5f, -2}, {-0.5f, 0}, {-1.5f, -2},
        {2.49f, 2}, {2.51f, 3}, {32767.4f, 32767}, {-32768.5f, -32768}, {21.0f, 21},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(num::toInt16(c.value), c.expected) << c.value;
        EXPECT_EQ(num::toInt32(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(num::toInt32(16777216.0f), 16777216);
    EXPECT_EQ(num::toInt32(-2147483648.0f), std::numeric_limits<std::int32_t>::min());
}

TEST(Numbers, ConversionOutOfRangeIsOverflow)
{
    for (float value : {32767.5f, 32768.0f, -32769.0f, 1e10f, NaN, Inf, -Inf})
        EXPECT_EQ(errorOf([&] { num::toInt16(value); }), RuntimeError::Overflow) << value;
    for (float value : {2147483648.0f, -2147483904.0f, 1e20f, NaN, Inf})
        EXPECT_EQ(errorOf([&] { num::toInt32(value); }), RuntimeError::Overflow) << value;
}

TEST(Numbers, ArithmeticFaults)
{
    const struct { const char* what; std::function<void()> step; int error; } cases[] = {
        {"max + max", [] { num::add(FLT_MAX, FLT_MAX); }, RuntimeError::Overflow},
        {"-max - max", [] { num::sub(-FLT_MAX, FLT_MAX); }, RuntimeError::Overflow},
        {"NaN + 1", [] { num::add(NaN, 1); }, RuntimeError::Overflow},
        {"inf - 1", [] { num::sub(Inf, 1); }, RuntimeError::Overflow},
        {"inf - inf", [] { num::sub(Inf, Inf); }, RuntimeError::Overflow},
        {"max / 0.1", [] { num::div(FLT_MAX, 0.1f); }, RuntimeError::Overflow},
        {"0 / 0", [] { num::div(0, 0); }, RuntimeError::Overflow},
        {"1 / 0", [] { num::div(1, 0); }, RuntimeError::DivisionByZero},
        {"-5 / 0", [] { num::div(-5, 0); }, RuntimeError::DivisionByZero},
        {"7 mod 0", [] { num::mod(7, 0); }, RuntimeError::DivisionByZero},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.step), c.error) << c.what;
}

TEST(Numbers, ArithmeticRoundsOnceToFloat)
{
    EXPECT_EQ(num::div(num::sub(240, 288), 10), -4.8f);
    EXPECT_EQ(num::div(num::sub(104, 160), 10), -5.6f);
    EXPECT_EQ(num::sub(240, -4.8f), 244.8f);
    EXPECT_EQ(num::add(16777216.0f, 1), 16777216.0f); // beyond float's whole numbers
    EXPECT_EQ(num::add(15, 7), 22.0f);
}

TEST(Numbers, RemainderHasTheSignOfTheDividend)
{
    const struct { int dividend, divisor, expected; } cases[] = {
        {15, 7, 1}, {4, 3, 1}, {0, 5, 0}, {20, 20, 0}, {-7, 3, -1}, {7, -3, 1},
        {std::numeric_limits<std::int32_t>::min(), -1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(num::mod(c.dividend, c.divisor), c.expected) << c.dividend << " mod " << c.divisor;
}

TEST(Numbers, ToTextHasSevenDigitsAndNoBlank)
{
    LocaleGuard c(QLocale::c());
    const struct { float value; const char* expected; } cases[] = {
        {3, "3"}, {22, "22"}, {0.5f, "0.5"}, {1234567, "1234567"}, {12345678, "1.234568E+07"},
        {-1, "-1"}, {0, "0"}, {-0.0f, "0"}, {244.8f, "244.8"}, {0.00001f, "1E-05"},
        {16777216, "1.677722E+07"}, {-4.8f, "-4.8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(num::toText(c.value), QLatin1String(c.expected)) << c.value;
}

TEST(Numbers, ToTextUsesTheUsersDecimalSeparator)
{
    LocaleGuard czech(QLocale(QLocale::Czech, QLocale::Czechia));
    EXPECT_EQ(num::toText(0.5f), QStringLiteral("0,5"));
    EXPECT_EQ(num::toText(12345678), QStringLiteral("1,234568E+07"));
    EXPECT_EQ(num::toText(1234567), QStringLiteral("1234567")); // no digit grouping
}

TEST(Numbers, FromTextReadsNumbers)
{
    LocaleGuard c(QLocale::c());
    const struct { const char* text; float expected; } cases[] = {
        {" 7 ", 7}, {"7", 7}, {"-3", -3}, {"0.5", 0.5f}, {"1.234568E+07", 12345680},
        {"1e30", 1e30f}, {"\t20\t", 20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(num::fromText(QLatin1String(c.text)), c.expected) << c.text;
        EXPECT_EQ(num::tryFromText(QLatin1String(c.text)), c.expected) << c.text;
    }
}

TEST(Numbers, FromTextFollowsTheLocaleAndAcceptsTheCForm)
{
    LocaleGuard czech(QLocale(QLocale::Czech, QLocale::Czechia));
    EXPECT_EQ(num::fromText(QStringLiteral("1,5")), 1.5f);
    EXPECT_EQ(num::fromText(QStringLiteral("1.5")), 1.5f);
    EXPECT_EQ(num::fromText(QStringLiteral(" 7 ")), 7.0f);
    EXPECT_EQ(num::fromText(QStringLiteral("1,234568E+07")), 12345680.0f);
}

TEST(Numbers, FromTextFaults)
{
    LocaleGuard c(QLocale::c());
    const struct { const char* text; int error; } cases[] = {
        {"abc", RuntimeError::TypeMismatch}, {"", RuntimeError::TypeMismatch},
        {"   ", RuntimeError::TypeMismatch}, {"nan", RuntimeError::TypeMismatch},
        {"inf", RuntimeError::TypeMismatch}, {"-inf", RuntimeError::TypeMismatch},
        {"7a", RuntimeError::TypeMismatch}, {"1,5", RuntimeError::TypeMismatch},
        {"1e39", RuntimeError::Overflow}, {"-1e39", RuntimeError::Overflow},
        {"1e400", RuntimeError::Overflow},
    };
    for (const auto& c : cases) {
        const QString text = QLatin1String(c.text);
        EXPECT_EQ(errorOf([&] { num::fromText(text); }), c.error) << c.text;
        EXPECT_FALSE(num::tryFromText(text).has_value()) << c.text;
    }
}

TEST(Numbers, TextRoundTripsInBothLocales)
{
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Czech, QLocale::Czechia)}) {
        LocaleGuard guard(locale);
        for (float value : {0.0f, 1.0f, 20.0f, 22.0f, 0.5f, -3.0f, 1234567.0f, 244.8f})
            EXPECT_EQ(num::fromText(num::toText(value)), value) << value << " in " << locale.name().toStdString();
    }
}

} // namespace
} // namespace zw::test
