// Writes a folder of twenty level pictures that are one file under twenty
// hard links, built to cost the game more than their pixels:
//
//   bench_hostile_levels padded LEVEL.png FOLDER   LEVEL.png with a 7 MB text
//                                                  chunk after its header
//   bench_hostile_levels bomb LEVEL.png FOLDER     LEVEL.png's pixels, its image
//                                                  data going on with 8 GiB of
//                                                  zeros after the last row
//
// for bench/run.sh to measure the game's memory and its time to open the
// folder against the built-in game.

#include "HostileFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 4 || (std::strcmp(argv[1], "padded") != 0 && std::strcmp(argv[1], "bomb") != 0)) {
        std::fprintf(stderr, "usage: bench_hostile_levels padded|bomb LEVEL.png FOLDER\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[2]);
    const QString folder = QString::fromLocal8Bit(argv[3]);
    QByteArray bytes;
    if (std::strcmp(argv[1], "padded") == 0) {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        bytes = in.readAll();
        constexpr qsizetype AfterHeader = 8 + 25;
        const QByteArray text = QByteArray("Comment") + '\0' + QByteArray(7 << 20, 'a');
        bytes.insert(AfterHeader, zw::fixtures::pngChunk("tEXt", text));
    } else {
        bytes = zw::fixtures::rgbPng(QImage(source), {{}, qint64(8000) << 20});
    }
    QDir().mkpath(folder);
    const QString first = QDir(folder).filePath(QStringLiteral("level-01.png"));
    QFile out(first);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        return 1;
    out.close();
    for (int k = 2; k <= 20; ++k) {
        const QString name = QDir(folder).filePath(QStringLiteral("level-%1.png").arg(k, 2, 10, QLatin1Char('0')));
        QFile::remove(name);
        if (::link(QFile::encodeName(first).constData(), QFile::encodeName(name).constData()) != 0)
            return 1;
    }
    return 0;
}
