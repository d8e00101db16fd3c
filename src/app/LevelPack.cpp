#include "app/LevelPack.h"

#include "check/PlayerPack.h"
#include "check/PrintableName.h"
#include "view/GameWindow.h"

#include <QFileInfo>

namespace zw {

QString packSaveSection(const QByteArray& contentHash)
{
    return BuiltInSaveSection + QStringLiteral("-pack-") + QString::fromLatin1(contentHash.toHex().left(16));
}

QString packTitle(const QString& name, const QString& author, const QString& fileName)
{
    QString title = view::GameTitle + QStringLiteral(" – ") + (name.isEmpty() ? check::printableName(fileName) : name);
    if (!author.isEmpty())
        title += QStringLiteral(" (%1)").arg(author);
    return title;
}

LevelFolder openLevelPack(const QString& path, std::uint8_t language)
{
    const auto lang = language == 1 ? check::Language::English : check::Language::Czech;
    check::PlayerPack opened = check::openPlayerPack(path, lang);
    LevelFolder result = levelFolderOf(std::move(opened.levels));
    if (!result.findings.isEmpty())
        return result;
    result.levels.saveSection = packSaveSection(opened.contentHash);
    result.title = packTitle(opened.info.name, opened.info.author, QFileInfo(path).fileName());
    return result;
}

} // namespace zw
