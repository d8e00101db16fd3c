#include "app/CommandLine.h"

namespace zw {

namespace {

const QString Usage = QStringLiteral("usage: zigwalk [FOLDER | PACK.zigwalk | --levels FOLDER | --choose-levels | --help | --version]");

// Qt's own options, which QApplication takes out of the command line when
// it starts (after this reader has answered --help and --version without a
// display). Qt reads each with one dash or two.
const QStringList QtOptionsWithValue = {
    QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"), QStringLiteral("display"), QStringLiteral("geometry"),
    QStringLiteral("title"), QStringLiteral("name"), QStringLiteral("icon"), QStringLiteral("style"),
    QStringLiteral("stylesheet"), QStringLiteral("session")};
// Taken by Qt only as -qmljsdebugger=VALUE: the next argument stays ours.
const QString QtOptionJoinedValueOnly = QStringLiteral("qmljsdebugger");
const QStringList QtSwitches = {QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                                QStringLiteral("dograb"), QStringLiteral("sync"), QStringLiteral("testability")};

// "platform" for -platform or --platform; empty for anything else.
QString qtOptionName(const QString& arg)
{
    if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("--"))
        return {};
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    if (equals >= 0)
        name.truncate(equals);
    if (name == QtOptionJoinedValueOnly)
        return equals >= 0 ? name : QString();
    return QtOptionsWithValue.contains(name) || QtSwitches.contains(name) ? name : QString();
}

CommandLine usageError(const QString& why)
{
    return {CommandLine::Action::UsageError, {}, QStringLiteral("zigwalk: %1; %2").arg(why, Usage)};
}

} // namespace

CommandLine readCommandLine(const QStringList& args)
{
    CommandLine result;
    bool choose = false;
    bool endOfOptions = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        QString folder;
        bool named = false; // this argument names a folder
        if (!endOfOptions && a == QLatin1String("--help"))
            return {CommandLine::Action::Help, {},
                    Usage + QStringLiteral("\n\n"
                                           "Plays the mouse maze. With FOLDER, plays the levels a player drew there\n"
                                           "(level-01.png to level-NN.png, N up to 20) in place of the built-in ones,\n"
                                           "once every picture passes the game's rules (see zigwalk-check(1)).\n"
                                           "With PACK.zigwalk, plays a level pack: the same levels in one file\n"
                                           "(zigwalk-check --pack makes one).\n\n"
                                           "  --levels FOLDER   the same as FOLDER\n"
                                           "  --choose-levels   asks for the folder in a folder chooser\n"
                                           "  --help            this text\n"
                                           "  --version         the version\n\n"
                                           "Qt's own options (-platform NAME, -style NAME, -reverse ...) are taken too.\n")};
        if (!endOfOptions && a == QLatin1String("--version"))
            return {CommandLine::Action::Version, {}, QStringLiteral("zigwalk %1\n").arg(QStringLiteral(ZIGWALK_VERSION))};
        if (!endOfOptions && a == QLatin1String("--"))
            endOfOptions = true;
        else if (!endOfOptions && a == QLatin1String("--choose-levels"))
            choose = true;
        else if (!endOfOptions && a == QLatin1String("--levels")) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("--levels needs a folder"));
            folder = args[++i];
            named = true;
        } else if (const QString qt = endOfOptions ? QString() : qtOptionName(a); !qt.isEmpty()) {
            // Qt's to take: skipped here with its value ("-style fusion" or "-style=fusion").
            if (QtOptionsWithValue.contains(qt) && !a.contains(QLatin1Char('='))) {
                if (i + 1 >= args.size())
                    return usageError(QStringLiteral("%1 needs a value").arg(a));
                ++i;
            }
        } else if (!endOfOptions && a.startsWith(QLatin1Char('-')) && a.size() > 1)
            return usageError(QStringLiteral("unknown option %1").arg(a));
        else {
            folder = a;
            named = true;
        }
        if (!named)
            continue;
        if (folder.isEmpty())
            return usageError(QStringLiteral("an empty folder name"));
        if (!result.folder.isEmpty())
            return usageError(QStringLiteral("one folder at most"));
        result.folder = folder;
    }
    if (choose && !result.folder.isEmpty())
        return usageError(QStringLiteral("--choose-levels takes no folder"));
    if (choose)
        result.action = CommandLine::Action::ChooseFolder;
    return result;
}

} // namespace zw
