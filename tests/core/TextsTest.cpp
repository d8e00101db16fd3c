// The text table and the deaths line.

#include "GameHarness.h"

#include "base/RuntimeError.h"

namespace zw::test {
namespace {

TEST(Texts, EveryItemInBothLanguages)
{
    TextTable texts;
    texts.fill();
    const struct { int item; const char* czech; const char* english; } cases[] = {
        {0, "Navštivte tuto stránku a stáhněte si nové programy a hry!     Korvel Software     www.korvel.example",
            "Korvel Software     www.korvel.example"},
        {1, "Nahraje poslední výsledek ve hře", "Continue in game"},
        {2, "Zahájí novou hru", "Start new game"},
        {3, "Ukončí tuto hru", "Quit this game"},
        {4, "Hudba     Počet zabití : 0", "Music     Deaths : 0"},
        {5, "Zadej heslo...", "Pasword..."},
        {6, "Hudba     Počet zabití : ", "Music     Deaths : "},
        {7, "v1.0.          Id.:25210          >>> CZ", "v1.0.          Id.:25210          >>> EN"},
        {8, "Jazyk / Language", "Language / Language"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(texts(0, c.item), QString::fromUtf8(c.czech)) << c.item;
        EXPECT_EQ(texts(1, c.item), QString::fromUtf8(c.english)) << c.item;
        // Stored language first.
        EXPECT_EQ(texts.flat()[2 * c.item], texts(0, c.item));
        EXPECT_EQ(texts.flat()[2 * c.item + 1], texts(1, c.item));
    }
}

TEST(Texts, LanguageOutOfRangeIsSubscriptError)
{
    TextTable texts;
    texts.fill();
    for (std::uint8_t language : {2, 3, 255}) {
        try {
            texts(language, 6);
            ADD_FAILURE() << "no error for language " << int(language);
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), RuntimeError::SubscriptOutOfRange);
        }
    }
}

class DeathsLine : public GameTest {};

TEST_F(DeathsLine, IsThePrefixAndTheCountInDigits)
{
    const struct { std::uint8_t lang; float deaths; const char* expected; } cases[] = {
        {1, 12, "Music     Deaths : 12"},
        {0, 12, "Hudba     Počet zabití : 12"},
        {1, 0, "Music     Deaths : 0"},
        {0, 1234567, "Hudba     Počet zabití : 1234567"},
    };
    load();
    for (const auto& row : cases) {
        s.Lang = row.lang;
        s.Deaths = row.deaths;
        move(ColorWall); // touching white without a run only rewrites the line
        EXPECT_EQ(c.Label2Caption, QString::fromUtf8(row.expected));
    }
}

TEST_F(DeathsLine, LanguageOutOfRangeStopsTheEventBeforeTheLabel)
{
    load();
    s.Lang = 2;
    const QString before = c.Label1Caption;
    try {
        move(ColorInfo);
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), RuntimeError::SubscriptOutOfRange);
    }
    EXPECT_EQ(c.Label1Caption, before);
}

} // namespace
} // namespace zw::test
