// zigwalk-check --snap never costs the painting: when the snapped picture
// cannot be written whole, it says why, exits other than 0, and the picture
// it read stays byte for byte, also when it was to be written over itself.

#include "PlayerFixtures.h"

#include "support/MountNamespace.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zw::check {
namespace {

struct Finished {
    int exitCode = -1;
    QString out, err;
};

Finished runChecker(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << "no end within a minute";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A painted level with soft edges: the snap has work to do.
QString writePainting(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("painted.png"));
    EXPECT_TRUE(fixtures::paintedLevel(1).save(path));
    return path;
}

TEST(SnapFile, OntoWhatIsNoOrdinaryFileNothingIsWritten)
{
    QTemporaryDir dir;
    const QString painting = writePainting(dir);
    const QByteArray before = fileBytes(painting);
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const struct {
        const char* name;
        QString out;
        const char* reason;
    } cases[] = {
        {"a device that takes nothing", QStringLiteral("/dev/full"), "not an ordinary file"},
        {"a folder", dir.filePath(QStringLiteral("folder")), "is a folder"},
        {"a folder that is not there", dir.filePath(QStringLiteral("none/level.png")), "No such file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Finished r = runChecker(QStringLiteral(ZIGWALK_CHECK_PROGRAM), {QStringLiteral("--snap"), painting, c.out});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains(c.out) && r.err.contains(QLatin1String(c.reason))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << "no report of pixels changed: " << r.out.toStdString();
        EXPECT_EQ(fileBytes(painting), before);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("folder"), QStringLiteral("painted.png")}));
}

// The README's own recipe snaps a painting onto itself: on a full disk it
// must stay the painting.
TEST(SnapFile, OntoItselfOnAFullFileSystemThePaintingStays)
{
    if (const QString why = test::whyNoMountNamespace(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    const QString painting = writePainting(dir);
    const QString full = dir.filePath(QStringLiteral("full"));
    ASSERT_TRUE(QDir().mkpath(full));
    // In a namespace of its own: a small memory file system, the painting
    // copied in, the rest filled up; then the snap, and what is left there.
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=64k full \"$1\" && cp \"$2\" \"$1/level.png\" && "
        "{ dd if=/dev/zero of=\"$1/fill\" bs=4k 2>/dev/null; true; } && "
        "\"$3\" --snap \"$1/level.png\" \"$1/level.png\"; echo \"snap $?\"; "
        "cmp \"$2\" \"$1/level.png\" && echo same; ls -A \"$1\"");
    const Finished r = runChecker(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                                                  QStringLiteral("sh"), full, painting,
                                                  QStringLiteral(ZIGWALK_CHECK_PROGRAM)});
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString() << r.err.toStdString();
    EXPECT_NE(lines[0], QStringLiteral("snap 0")) << r.err.toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("same")) << "the painting was changed";
    EXPECT_EQ(lines.mid(2), (QStringList{QStringLiteral("fill"), QStringLiteral("level.png")})) << "a new file was left";
    EXPECT_TRUE(r.err.contains(QStringLiteral("No space left on device"))) << r.err.toStdString();
}

// Written over itself when all is well: snapped, with its permissions, and a
// report of what changed.
TEST(SnapFile, OntoItselfTheSnappedPictureKeepsTheFilesMode)
{
    QTemporaryDir dir;
    const QString painting = writePainting(dir);
    const QByteArray name = QFile::encodeName(painting);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);
    const Finished r = runChecker(QStringLiteral(ZIGWALK_CHECK_PROGRAM), {QStringLiteral("--snap"), painting, painting});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(painting + QStringLiteral(": "))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral(" to black"))) << r.out.toStdString();
    struct stat after {};
    ASSERT_EQ(::stat(name.constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    const Finished again = runChecker(QStringLiteral(ZIGWALK_CHECK_PROGRAM), {QStringLiteral("--snap"), painting, painting});
    EXPECT_TRUE(again.out.contains(QStringLiteral(": 0 of 307200 pixels changed"))) << again.out.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("painted.png")});
}

} // namespace
} // namespace zw::check
