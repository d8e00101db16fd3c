#pragma once
// The store as the game writes it into an empty file: its one section with
// the four values of a level and a death count.

#include <QString>

namespace zw::e2e {

inline QString savedFile(int level, int deaths)
{
    return QStringLiteral("[SaveGame]\nSaw1=%1\nSaw2=%2\nSaw3=%3\nSaw4=%4\n")
        .arg(level)
        .arg(deaths)
        .arg(level + deaths)
        .arg(deaths % level);
}

} // namespace zw::e2e
