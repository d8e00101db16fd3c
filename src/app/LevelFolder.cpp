#include "app/LevelFolder.h"

#include "check/PlayerLevels.h"
#include "check/PrintableName.h"

#include <QCryptographicHash>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zw {

namespace {

// A box taller than the screen helps nobody; zigwalk-check lists them all.
constexpr int FindingsShown = 12;

} // namespace

QString folderSaveSection(const QString& canonicalPath)
{
    const QByteArray hash = QCryptographicHash::hash(canonicalPath.toUtf8(), QCryptographicHash::Sha256);
    return BuiltInSaveSection + QStringLiteral("-") + QString::fromLatin1(hash.toHex().left(16));
}

LevelFolder openLevelFolder(const QString& folder, std::uint8_t language)
{
    const auto lang = language == 1 ? check::Language::English : check::Language::Czech;
    LevelFolder result = levelFolderOf(check::openPlayerFolder(folder, lang));
    if (result.findings.isEmpty())
        result.levels.saveSection = folderSaveSection(result.canonicalPath);
    return result;
}

LevelFolder levelFolderOf(check::PlayerFolder opened)
{
#if defined(__GLIBC__)
    // Reading the pictures (from a folder or a pack) took up to 8 MB a file
    // for a moment; after a free of that size the allocator keeps freed
    // memory of up to twice it for itself. What the game holds from here on
    // is the mazes' key indices alone, so the rest goes back to the system.
    ::malloc_trim(0);
#endif
    LevelFolder result;
    for (const check::Finding& f : opened.findings)
        result.findings << f.line();
    if (!result.findings.isEmpty())
        return result;
    auto mazes = std::make_shared<std::vector<QImage>>();
    for (check::PlayerLevel& level : opened.levels)
        mazes->push_back(std::move(level.image)); // already key indices (PlayerLevels.h)
    result.levels.lastMaze = int(mazes->size());
    result.canonicalPath = opened.canonicalPath;
    result.mazes = std::move(mazes);
    return result;
}

std::unique_ptr<PictureStore> makeFolderStore(std::shared_ptr<const std::vector<QImage>> mazes)
{
    const LevelSet folder{int(mazes->size())};
    return std::make_unique<PictureStore>([mazes, folder](const QString& name) -> QImage {
        for (int level = FirstMaze; level <= LastMaze; ++level)
            if (name == PictureStore::levelName(level))
                return folder.hasMaze(level) ? (*mazes)[std::size_t(level - 1)] : QImage();
        return PictureStore::loadBuiltIn(name);
    });
}

QString refusalText(const QString& folder, const QStringList& findings, std::uint8_t language, bool pack)
{
    QStringList lines;
    if (pack)
        lines << (language == 1 ? QStringLiteral("The level pack %1 cannot be played:")
                                : QStringLiteral("Balíček úrovní %1 nelze hrát:"))
                     .arg(check::printableName(folder));
    else
        lines << (language == 1 ? QStringLiteral("The level folder %1 cannot be played:")
                                : QStringLiteral("Složku s úrovněmi %1 nelze hrát:"))
                     .arg(check::printableName(folder));
    lines << findings.mid(0, FindingsShown);
    if (findings.size() > FindingsShown)
        lines << (language == 1 ? QStringLiteral("... and %1 more (zigwalk-check --levels lists them all)")
                                : QStringLiteral("... a dalších %1 (všechna vypíše zigwalk-check --levels)"))
                     .arg(findings.size() - FindingsShown);
    return lines.join(QLatin1Char('\n'));
}

} // namespace zw
