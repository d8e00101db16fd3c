#pragma once
// The boxes a rejected load shows, word for word.

#include <QString>

namespace zw::test {

inline const QString BadData = QStringLiteral("chyba při načítání, chybná data");
inline const QString LevelZero = QStringLiteral(
    "Nastala chyba při načítání hry.\r\n"
    "Omlouváme se za vzniklé potíže.\r\n"
    "Sdělte tuto chybu do návštěvní knihy na adrese www.korvel.example.\r\n"
    "\r\n"
    "Kód chyby >>> \"SafeLevel=0\"");

} // namespace zw::test
