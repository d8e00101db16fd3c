#pragma once
// Where a player's progress is kept: the settings store's name (its file is
// that name and ".conf" in the player's configuration folder) and the four
// keys of a save, which stores already on players' machines hold: the level,
// the deaths, their sum and the deaths modulo the level.

#include <QString>

namespace zw {

inline const QString StoreName = QStringLiteral("Zigwalk_Korvel");

namespace savekey {
inline const QString Level = QStringLiteral("Saw1");
inline const QString Deaths = QStringLiteral("Saw2");
inline const QString Sum = QStringLiteral("Saw3");
inline const QString Remainder = QStringLiteral("Saw4");
} // namespace savekey

} // namespace zw
