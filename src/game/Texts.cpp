// The nine texts of the game in Czech and English. Spaces matter: the runs of
// five spaces space out the status and deaths lines on the bottom strip.

#include "game/Texts.h"

#include "base/Maker.h"
#include "base/RuntimeError.h"

namespace zw {

namespace {

const QString& czech(int item)
{
    static const std::array<QString, TextTable::Items> items{
        QStringLiteral("Navštivte tuto stránku a stáhněte si nové programy a hry!     ") + maker::Name
            + QStringLiteral("     ") + maker::Host,
        QStringLiteral("Nahraje poslední výsledek ve hře"),
        QStringLiteral("Zahájí novou hru"),
        QStringLiteral("Ukončí tuto hru"),
        QStringLiteral("Hudba     Počet zabití : 0"),
        QStringLiteral("Zadej heslo..."),
        QStringLiteral("Hudba     Počet zabití : "),
        QStringLiteral("v1.0.          Id.:25210          >>> CZ"),
        QStringLiteral("Jazyk / Language"),
    };
    return items[item];
}

const QString& english(int item)
{
    static const std::array<QString, TextTable::Items> items{
        maker::Name + QStringLiteral("     ") + maker::Host,
        QStringLiteral("Continue in game"),
        QStringLiteral("Start new game"),
        QStringLiteral("Quit this game"),
        QStringLiteral("Music     Deaths : 0"),
        QStringLiteral("Pasword..."),
        QStringLiteral("Music     Deaths : "),
        QStringLiteral("v1.0.          Id.:25210          >>> EN"),
        QStringLiteral("Language / Language"),
    };
    return items[item];
}

} // namespace

void TextTable::fill()
{
    for (int k = 0; k < Items; ++k)
        flat_[2 * k + 0] = czech(k);
    for (int k = 0; k < Items; ++k)
        flat_[2 * k + 1] = english(k);
}

const QString& TextTable::operator()(std::uint8_t language, int item) const
{
    if (language >= Languages || item < 0 || item >= Items)
        throw RuntimeError::subscriptOutOfRange();
    return flat_[2 * item + language];
}

} // namespace zw
