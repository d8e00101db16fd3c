// zigwalk-check: holds every picture of the game to the colour key's rules,
// and the twenty mazes to their difficulty curve (DifficultyCurve.h).
//
//   zigwalk-check [--table] [--sheet FILE.png] [--way LEVEL] FOLDER
//   zigwalk-check --levels FOLDER
//   zigwalk-check --snap IN OUT
//
// --levels holds a player's folder of levels (level-01.png ...) to the rules
// the game holds it to before playing it, prints every finding and the
// folder's playability table, and the difficulty curve as advice; exit 1 if
// the game would refuse the folder. --snap writes IN snapped to the colour
// key to OUT (SnapCommand.h).
//
// Prints one line per broken rule ("level-05.png: start disc: ...") and exits
// 1 if any rule broke, 0 if every picture is clean, 2 on a usage error.
// --table adds the playability table of the twenty mazes (markdown);
// --sheet writes a contact sheet of all pictures, each maze labelled with its
// steering difficulty (ID); --way prints one maze's
// steering difficulty and its easiest way, one "x y width" pixel a line (for
// walking it by hand or by script).

#include "check/CheckFolder.h"
#include "check/ContactSheet.h"
#include "check/DifficultyCurve.h"
#include "check/PlayTable.h"
#include "check/Playability.h"
#include "check/PlayerLevels.h"
#include "base/Levels.h"
#include "SnapCommand.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

using namespace zw::check;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: zigwalk-check [--table] [--sheet FILE.png] [--way LEVEL] FOLDER\n"
                         "       zigwalk-check --levels FOLDER\n"
                         "       zigwalk-check --snap IN OUT\n");
    return 2;
}

int checkPlayerFolder(const QString& folder)
{
    PlayerFolder opened = openPlayerFolder(folder, Language::English, true);
    for (const Finding& f : opened.findings)
        std::printf("%s\n", qPrintable(f.line()));
    std::vector<LoadedPicture> pictures;
    for (int i = 0; i < int(opened.levels.size()); ++i) {
        PlayerLevel& level = opened.levels[std::size_t(i)];
        pictures.push_back({PictureInfo{level.file, PictureKind::Level, i + 1}, level.image, std::move(level.ways)});
    }
    if (!pictures.empty())
        std::printf("\n%s", qPrintable(playabilityTable(pictures)));
    // Advice, not a rule: a player's levels may rise and fall as they please.
    const std::vector<Finding> advice = checkDifficultyCurve(levelDifficulties(pictures));
    if (!advice.empty())
        std::printf("\nDifficulty curve (advice only):\n");
    for (const Finding& f : advice)
        std::printf("%s\n", qPrintable(f.line()));
    if (opened.findings.empty())
        std::printf("\n%s: %d levels, every one can be played\n", qPrintable(folder), int(opened.levels.size()));
    return opened.findings.empty() ? 0 : 1;
}

void printWay(const std::vector<LoadedPicture>& pictures, int level)
{
    for (const LoadedPicture& p : pictures) {
        if (p.info.kind != PictureKind::Level || p.info.level != level || p.image.isNull())
            continue;
        const KeyMap keys(p.image);
        const std::vector<double> widths = pixelWidths(keys);
        for (const PathMeasure& m : measureLevel(keys, level)) {
            if (!m.connected) {
                std::printf("\n%s: goal %s not connected\n", qPrintable(p.info.file), qPrintable(pointText(m.goal)));
                continue;
            }
            std::printf("\n%s: goal %s: ID %.1f, narrowest %s at %s on the easiest way, %s on the widest\n",
                        qPrintable(p.info.file), qPrintable(pointText(m.goal)), m.difficulty,
                        qPrintable(widthText(m.easiestNarrowest)), qPrintable(pointText(m.easiestNarrowestAt)),
                        qPrintable(widthText(m.narrowest)));
            for (const QPoint& q : m.easiestWay)
                std::printf("%d %d %.1f\n", q.x(), q.y(), widths[std::size_t(q.y()) * keys.width() + q.x()]);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    bool table = false;
    int way = 0;
    QString sheet, folder;
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == QLatin1String("--levels"))
        return args.size() == 2 ? checkPlayerFolder(args[1]) : usage();
    if (!args.isEmpty() && args[0] == QLatin1String("--snap"))
        return args.size() == 3 ? snapCommand(args[1], args[2]) : usage();
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--table"))
            table = true;
        else if (args[i] == QLatin1String("--sheet") && i + 1 < args.size())
            sheet = args[++i];
        else if (args[i] == QLatin1String("--way") && i + 1 < args.size()) {
            bool ok = false;
            way = args[++i].toInt(&ok);
            if (!ok || way < zw::FirstMaze || way > zw::LastMaze)
                return usage();
        }
        else if (args[i].startsWith(QLatin1Char('-')) || !folder.isEmpty())
            return usage();
        else
            folder = args[i];
    }
    if (folder.isEmpty())
        return usage();

    FolderCheck result = checkFolder(folder);
    const std::vector<LevelDifficulty> difficulties = levelDifficulties(result.pictures);
    for (Finding& f : checkDifficultyCurve(difficulties))
        result.findings.push_back(std::move(f));
    for (const Finding& f : result.findings)
        std::printf("%s\n", qPrintable(f.line()));
    if (table)
        std::printf("\n%s", qPrintable(playabilityTable(result.pictures)));
    if (way > 0)
        printWay(result.pictures, way);
    if (!sheet.isEmpty()) {
        QImageWriter writer(sheet, "png");
        if (!writer.write(contactSheet(result.pictures, difficulties))) {
            std::fprintf(stderr, "zigwalk-check: cannot write %s: %s\n", qPrintable(sheet), qPrintable(writer.errorString()));
            return 2;
        }
    }
    return result.findings.empty() ? 0 : 1;
}
