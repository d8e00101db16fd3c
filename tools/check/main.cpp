// zigwalk-check: holds every picture of the game to the colour key's rules.
//
//   zigwalk-check [--table] [--sheet FILE.png] FOLDER
//
// Prints one line per broken rule ("level-05.png: start disc: ...") and exits
// 1 if any rule broke, 0 if every picture is clean, 2 on a usage error.
// --table adds the playability table of the twenty mazes (markdown);
// --sheet writes a contact sheet of all pictures.

#include "check/CheckFolder.h"
#include "check/ContactSheet.h"
#include "check/PlayTable.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

using namespace zw::check;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: zigwalk-check [--table] [--sheet FILE.png] FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    bool table = false;
    QString sheet, folder;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--table"))
            table = true;
        else if (args[i] == QLatin1String("--sheet") && i + 1 < args.size())
            sheet = args[++i];
        else if (args[i].startsWith(QLatin1Char('-')) || !folder.isEmpty())
            return usage();
        else
            folder = args[i];
    }
    if (folder.isEmpty())
        return usage();

    const FolderCheck result = checkFolder(folder);
    for (const Finding& f : result.findings)
        std::printf("%s\n", qPrintable(f.line()));
    if (table)
        std::printf("\n%s", qPrintable(playabilityTable(result.pictures)));
    if (!sheet.isEmpty()) {
        QImageWriter writer(sheet, "png");
        if (!writer.write(contactSheet(result.pictures))) {
            std::fprintf(stderr, "zigwalk-check: cannot write %s: %s\n", qPrintable(sheet), qPrintable(writer.errorString()));
            return 2;
        }
    }
    return result.findings.empty() ? 0 : 1;
}
