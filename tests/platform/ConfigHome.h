#pragma once
// A private settings folder for one test, so tests never see each other's
// saves or the user's own, and a way to act as an ordinary player.

#include "base/SaveStore.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::test {

inline const QString StoreApp = StoreName;

class ConfigHome {
public:
    ConfigHome()
        : previous_(qgetenv("XDG_CONFIG_HOME"))
    {
        // The folder must be reachable when a test acts as a player, not as root.
        ::chmod(QFile::encodeName(root_.path()).constData(), 0755);
        path_ = root_.path() + QStringLiteral("/config");
        ::mkdir(QFile::encodeName(path_).constData(), 0755);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path_));
    }

    ~ConfigHome()
    {
        // Give the folder back its rights so that the temporary folder can go.
        ::chmod(QFile::encodeName(path_).constData(), 0755);
        // Later tests in this process must not write into a folder that is gone.
        if (previous_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previous_);
    }

    QString path() const { return path_; }
    QString storeFile() const { return path_ + QLatin1Char('/') + StoreApp + QStringLiteral(".conf"); }

private:
    QByteArray previous_;
    QTemporaryDir root_;
    QString path_;
};

// Root may write anywhere, so a test of what file permissions do acts as the
// unprivileged user "nobody" while root runs it; anyone else stays themselves.
class AsPlayer {
public:
    AsPlayer()
    {
        if (::geteuid() == 0)
            switched_ = ::seteuid(NobodyUid) == 0;
    }
    ~AsPlayer()
    {
        if (switched_) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    AsPlayer(const AsPlayer&) = delete;
    AsPlayer& operator=(const AsPlayer&) = delete;

    // The user a test should give files to, to make them the player's own.
    static uid_t uid() { return ::geteuid() == 0 ? NobodyUid : ::geteuid(); }

private:
    static constexpr uid_t NobodyUid = 65534;
    bool switched_ = false;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace zw::test
