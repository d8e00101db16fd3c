// zigwalk-draw: draws every picture of the game from code and writes them to
// the folder given (assets/pictures). Running it again reproduces the files.

#include "draw/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <exception>
#include <functional>

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

    const std::pair<const char*, std::function<Canvas()>> pictures[] = {
        {"menu-cs", [] { return drawMenu(false); }},
        {"menu-en", [] { return drawMenu(true); }},
        {"level-01", drawLevel01}, {"level-02", drawLevel02}, {"level-03", drawLevel03},
        {"level-04", drawLevel04}, {"level-05", drawLevel05}, {"level-06", drawLevel06},
        {"level-07", drawLevel07}, {"level-08", drawLevel08}, {"level-09", drawLevel09},
        {"level-10", drawLevel10}, {"level-11", drawLevel11}, {"level-12", drawLevel12},
        {"level-13", drawLevel13}, {"level-14", drawLevel14}, {"level-15", drawLevel15},
        {"level-16", drawLevel16}, {"level-17", drawLevel17}, {"level-18", drawLevel18},
        {"level-19", drawLevel19}, {"level-20", drawLevel20},
        {"closing", drawClosing},
    };
    bool ok = true;
    for (const auto& [name, draw] : pictures) {
        try {
            ok &= write(draw().toIndexed(), out.filePath(QString::fromLatin1(name) + ".png"));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zigwalk-draw: %s: %s\n", name, e.what());
            ok = false;
        }
    }
    ok &= write(drawPointer(true), out.filePath("pointer-run.png"));
    ok &= write(drawPointer(false), out.filePath("pointer-idle.png"));
    return ok ? 0 : 1;
}
