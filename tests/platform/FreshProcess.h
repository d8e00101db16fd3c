#pragma once
// Reads the store from a process of its own, as the game would find it when
// started afresh: nothing of this process's settings cache can hide in it.

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace zw::test {

// Key -> text of what the store holds; missing keys are left out.
inline QMap<QString, QString> readInFreshProcess()
{
    QProcess reader;
    reader.start(QStringLiteral(SAVE_LOOP_PATH), {"print"});
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0);
    QMap<QString, QString> values;
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

} // namespace zw::test
