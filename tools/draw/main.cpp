// zigwalk-draw: draws every picture of the game from code and writes them to
// the folder given (assets/pictures). Running it again reproduces the files.

#include "draw/Pictures.h"
#include "base/Levels.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <exception>
#include <functional>
#include <iterator>
#include <vector>

using namespace zw::art;

namespace {

bool write(const QImage& image, const QString& path)
{
    QImageWriter writer(path, "png");
    writer.setQuality(0); // smallest file: for PNG, quality is the inverse of the deflate level
    if (!writer.write(image)) {
        std::fprintf(stderr, "zigwalk-draw: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zigwalk-draw OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    // The mazes in order, level 1 first; each is written under its level's name.
    const std::function<Canvas()> mazes[] = {
        drawLevel01, drawLevel02, drawLevel03, drawLevel04, drawLevel05, drawLevel06, drawLevel07,
        drawLevel08, drawLevel09, drawLevel10, drawLevel11, drawLevel12, drawLevel13, drawLevel14,
        drawLevel15, drawLevel16, drawLevel17, drawLevel18, drawLevel19, drawLevel20,
    };
    static_assert(std::size(mazes) == std::size_t(zw::LastMaze));
    std::vector<std::pair<QString, std::function<Canvas()>>> pictures = {
        {QStringLiteral("menu-cs"), [] { return drawMenu(false); }},
        {QStringLiteral("menu-en"), [] { return drawMenu(true); }},
    };
    for (int level = zw::FirstMaze; level <= zw::LastMaze; ++level)
        pictures.emplace_back(zw::levelPictureName(level), mazes[level - zw::FirstMaze]);
    pictures.emplace_back(QStringLiteral("closing"), drawClosing);
    bool ok = true;
    for (const auto& [name, draw] : pictures) {
        try {
            ok &= write(draw().toIndexed(), out.filePath(name + ".png"));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zigwalk-draw: %s: %s\n", qPrintable(name), e.what());
            ok = false;
        }
    }
    ok &= write(drawPointer(true), out.filePath("pointer-run.png"));
    ok &= write(drawPointer(false), out.filePath("pointer-idle.png"));
    return ok ? 0 : 1;
}
