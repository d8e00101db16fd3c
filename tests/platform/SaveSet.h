#pragma once
// The four values the game saves together: level, deaths, their sum and the
// remainder of deaths by level. Shared by the durability test and its helper.

#include "base/LevelSet.h"
#include "base/SaveStore.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace zw::test {

inline const QString SaveSection = BuiltInSaveSection;
inline const QStringList SaveKeys = {savekey::Level, savekey::Deaths, savekey::Sum, savekey::Remainder};

inline std::vector<std::pair<QString, QString>> saveSet(int level, int deaths)
{
    return {{SaveKeys[0], QString::number(level)},
            {SaveKeys[1], QString::number(deaths)},
            {SaveKeys[2], QString::number(level + deaths)},
            {SaveKeys[3], QString::number(deaths % level)}};
}

} // namespace zw::test
