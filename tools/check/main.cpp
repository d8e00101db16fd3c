// zigwalk-check: holds every picture of the game to the colour key's rules,
// and the twenty mazes to their difficulty curve (DifficultyCurve.h).
//
//   zigwalk-check --levels FOLDER
//   zigwalk-check --snap IN OUT
//   zigwalk-check [--table] [--sheet FILE.png] [--way LEVEL] FOLDER
//   zigwalk-check --help
//
// --levels holds a player's folder of levels (level-01.png ...) to the rules
// the game holds it to before playing it, prints every finding and the
// folder's playability table, and the difficulty curve as advice; exit 1 if
// the game would refuse the folder. --snap writes IN snapped to the colour
// key to OUT (SnapCommand.h).
//
// Without --levels or --snap it checks the game's own pictures (menu-cs.png,
// level-01.png ... closing.png, the pointers), as their maker does.
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
#include "check/PrintableName.h"
#include "base/Levels.h"
#include "SnapCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

using namespace zw::check;

namespace {

constexpr char UsageLines[] = "usage: zigwalk-check --levels FOLDER\n"
                              "       zigwalk-check --snap IN OUT\n"
                              "       zigwalk-check [--table] [--sheet FILE.png] [--way LEVEL] FOLDER\n"
                              "       zigwalk-check --help\n";

int usage()
{
    std::fputs(UsageLines, stderr);
    return 2;
}

int help()
{
    std::fputs(UsageLines, stdout);
    std::fputs("\n"
               "  --levels FOLDER  checks a folder of your own levels (level-01.png ...) as the\n"
               "                   game checks it before playing it: every finding, the\n"
               "                   playability table, the difficulty curve as advice, and a\n"
               "                   verdict; exit 0 when the game would play the folder, 1 if not\n"
               "  --snap IN OUT    writes IN to OUT (PNG) snapped to the colour key: soft\n"
               "                   edges made hard, what was painted kept; says how many\n"
               "                   pixels changed to each colour; OUT is replaced whole or\n"
               "                   not at all\n"
               "\n"
               "Without --levels or --snap, FOLDER must hold every picture of the game itself\n"
               "(menu-cs.png, menu-en.png, level-01.png ... closing.png, the pointers), as\n"
               "the game's maker checks them:\n"
               "  --table          adds the playability table of the twenty mazes (markdown)\n"
               "  --sheet FILE     writes a contact sheet of every picture to FILE (PNG)\n"
               "  --way LEVEL      prints that maze's easiest way, one \"x y width\" a line\n"
               "\n"
               "Exit status: 0 clean, 1 a rule broken, 2 a usage error.\n",
               stdout);
    return 0;
}

// "1 level", "2 levels".
QString counted(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
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
    const QString shown = printableName(folder);
    const int levels = int(opened.levels.size());
    if (opened.findings.empty())
        std::printf("\n%s: %s, %s\n", qPrintable(shown), qPrintable(counted(levels, "level", "levels")),
                    levels == 1 ? "it can be played" : "every one can be played");
    else
        std::printf("\n%s: cannot be played: %s above\n", qPrintable(shown),
                    qPrintable(counted(int(opened.findings.size()), "finding", "findings")));
    return opened.findings.empty() ? 0 : 1;
}

// A folder that holds none of the game's own pictures but the menu's is no
// copy of the game's pictures; most likely it is a player's own levels.
bool holdsGamePictures(const QString& folder)
{
    const QDir dir(folder);
    for (const PictureInfo& info : allPictures())
        if (info.kind != PictureKind::Level && QFileInfo::exists(dir.filePath(info.file)))
            return true;
    return false;
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
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h")))
        return help();
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
    if (!holdsGamePictures(folder)) {
        std::fprintf(stderr,
                     "zigwalk-check: %s holds none of the game's own pictures (menu-cs.png, closing.png ...),\n"
                     "which this checks. For a folder of your own levels: zigwalk-check --levels %s\n",
                     qPrintable(printableName(folder)), qPrintable(printableName(folder)));
        return 2;
    }

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
