// zigwalk-check: holds every picture of the game to the colour key's rules,
// and the twenty mazes to their difficulty curve (DifficultyCurve.h).
//
//   zigwalk-check --levels FOLDER | --levels PACK.zigwalk
//   zigwalk-check --pack FOLDER OUT.zigwalk [--name N] [--author A] [--description D]
//   zigwalk-check --snap IN OUT
//   zigwalk-check [--table] [--sheet FILE.png] [--way LEVEL] FOLDER
//   zigwalk-check --help
//
// --levels holds a player's folder of levels (level-01.png ...) to the rules
// the game holds it to before playing it, prints every finding and the
// folder's playability table, and the difficulty curve as advice; exit 1 if
// the game would refuse the folder. A PACK.zigwalk is held to the same rules.
// --pack writes a folder that passes every rule as a level pack
// (check/PlayerPack.h), whole or not at all; exit 1 if the folder fails a
// rule, 2 if the pack cannot be written. --snap writes IN snapped to the
// colour key to OUT (SnapCommand.h).
//
// Without --levels, --pack or --snap it checks the game's own pictures (menu-cs.png,
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
#include "check/PlayerPack.h"
#include "check/PrintableName.h"
#include "PackWriter.h"
#include "base/Levels.h"
#include "SnapCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

using namespace zw::check;

namespace {

constexpr char UsageLines[] = "usage: zigwalk-check --levels FOLDER | --levels PACK.zigwalk\n"
                              "       zigwalk-check --pack FOLDER OUT.zigwalk [--name NAME] [--author AUTHOR] [--description TEXT]\n"
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
               "  --levels PACK.zigwalk\n"
               "                   the same for a level pack, with the rules of its archive\n"
               "  --pack FOLDER OUT.zigwalk\n"
               "                   writes the levels of FOLDER as the level pack OUT.zigwalk,\n"
               "                   only when every level passes (exit 1 if not, the findings\n"
               "                   printed); whole or not at all (exit 2 if it cannot be\n"
               "                   written). --name, --author and --description go into its\n"
               "                   pack.txt\n"
               "  --snap IN OUT    writes IN to OUT (PNG) snapped to the colour key: soft\n"
               "                   edges made hard, what was painted kept; says how many\n"
               "                   pixels changed to each colour; OUT is replaced whole or\n"
               "                   not at all\n"
               "\n"
               "Without --levels, --pack or --snap, FOLDER must hold every picture of the game\n"
               "itself (menu-cs.png, menu-en.png, level-01.png ... closing.png, the pointers),\n"
               "as the game's maker checks them:\n"
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

// Prints the findings, the playability table, the curve's advice and the
// verdict of a player's folder or pack; 0 when the game would play it.
int reportPlayerLevels(PlayerFolder& opened, const QString& folder)
{
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

int checkPlayerFolder(const QString& folder)
{
    if (namesPack(folder)) {
        PlayerPack pack = openPlayerPack(folder, Language::English, true);
        return reportPlayerLevels(pack.levels, folder);
    }
    PlayerFolder opened = openPlayerFolder(folder, Language::English, true);
    return reportPlayerLevels(opened, folder);
}

// --pack FOLDER OUT [--name N] [--author A] [--description D]
int pack(const QStringList& args)
{
    if (args.size() < 2 || args.size() % 2 != 0)
        return usage();
    PackInfo info;
    for (int i = 2; i < args.size(); i += 2) {
        QString* field = args[i] == QLatin1String("--name")          ? &info.name
                         : args[i] == QLatin1String("--author")      ? &info.author
                         : args[i] == QLatin1String("--description") ? &info.description
                                                                     : nullptr;
        if (!field)
            return usage();
        *field = args[i + 1];
    }
    const QString& folder = args[0];
    const QString& out = args[1];
    if (!namesPack(out) || QFileInfo(out).isDir()) {
        std::fprintf(stderr, "zigwalk-check: %s: a pack's name ends in %s\n", qPrintable(printableName(out)), qPrintable(PackSuffix));
        return 2;
    }
    // What pack.txt says must read back the same: one line each, in the cap.
    for (const QString* field : {&info.name, &info.author})
        if (field->contains(QLatin1Char('\n')) || field->contains(QLatin1Char('\r'))) {
            std::fprintf(stderr, "zigwalk-check: --name and --author are one line each\n");
            return 2;
        }
    if (packInfoText(info).size() > LargestPackInfo) {
        std::fprintf(stderr, "zigwalk-check: name, author and description take more than %lld bytes\n",
                     static_cast<long long>(LargestPackInfo));
        return 2;
    }
    const PlayerFolder opened = openPlayerFolder(folder, Language::English);
    for (const Finding& f : opened.findings)
        std::printf("%s\n", qPrintable(f.line()));
    if (!opened.findings.empty()) {
        std::printf("\n%s: not packed; the game would refuse it\n", qPrintable(printableName(folder)));
        return 1;
    }
    QString error;
    if (!writeLevelPack(opened, folder, info, out, error)) {
        std::fprintf(stderr, "zigwalk-check: %s\n", qPrintable(error));
        return 2;
    }
    std::printf("%s: %s packed\n", qPrintable(printableName(out)), qPrintable(counted(int(opened.levels.size()), "level", "levels")));
    return 0;
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
    if (!args.isEmpty() && args[0] == QLatin1String("--pack"))
        return pack(args.mid(1));
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
