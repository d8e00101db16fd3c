// A replacement checked before its rename: the check sees the new file whole
// and synced under its own name, and a check that refuses it leaves the old
// file as it was and nothing beside it (zigwalk-check reads a pack back this
// way before the pack takes its name).

#include "platform/store/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <gtest/gtest.h>

namespace zw::platform {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(ReplaceFileCheck, SeesTheWholeNewFileAndItsRefusalKeepsTheOld)
{
    for (const bool accept : {true, false}) {
        QTemporaryDir tmp;
        const QString target = tmp.filePath(QStringLiteral("levels.zigwalk"));
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        }
        Replacement r;
        ASSERT_EQ(lookBeforeReplacing(target, r), 0);
        const QByteArray fresh(100000, 'n');
        QString seen;
        QByteArray seenBytes;
        const Replaced done = replaceFile(r, fresh, [&](const QString& newFile) {
            seen = newFile;
            seenBytes = bytesOf(newFile);
            return accept ? 0 : EBADMSG;
        });
        EXPECT_NE(seen, target) << "the check must see the new file, not the target";
        EXPECT_EQ(seenBytes, fresh) << "the new file was not whole when checked";
        EXPECT_EQ(done.inPlace, accept);
        EXPECT_EQ(done.error, accept ? 0 : EBADMSG);
        EXPECT_EQ(bytesOf(target), accept ? fresh : QByteArray("old"));
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{QStringLiteral("levels.zigwalk")})
            << "left beside the target";
    }
}

} // namespace
} // namespace zw::platform
