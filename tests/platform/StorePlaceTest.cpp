// Where the store lives: in $XDG_CONFIG_HOME when that is an absolute path,
// else in .config of the player's home, which the password database gives
// when HOME is not set. Progress never depends on the folder the game was
// started from, and nothing of the game's is ever written under /.

#include "ConfigHome.h"
#include "GameStore.h"
#include "support/MountNamespace.h"
#include "support/ProgramCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <pwd.h>

namespace zw::test {
namespace {

using platform::SettingsStore;

// Sets or unsets variables for the life of a test, and puts them back.
class Variables {
public:
    void set(const char* name, const char* value)
    {
        saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~Variables()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->wasSet)
                qputenv(it->name, it->value);
            else
                qunsetenv(it->name);
        }
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> saved_;
};

QString passwordHome()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry && entry->pw_dir ? QString::fromLocal8Bit(entry->pw_dir) : QString();
}

TEST(StorePlace, FromTheVariablesAndThePasswordDatabase)
{
    const QString home = passwordHome();
    if (home.isEmpty() || home == QLatin1String("/"))
        GTEST_SKIP() << "this user has no home of its own in the password database";
    const struct {
        const char* name;
        const char* home;
        const char* configHome;
        QString expected;
    } cases[] = {
        {"both set", "/home/player", "/tmp/config", "/tmp/config/Zigwalk_Korvel.conf"},
        {"the default folder", "/home/player", nullptr, "/home/player/.config/Zigwalk_Korvel.conf"},
        {"an empty XDG_CONFIG_HOME", "/home/player", "", "/home/player/.config/Zigwalk_Korvel.conf"},
        {"a relative XDG_CONFIG_HOME", "/home/player", "my/config", "/home/player/.config/Zigwalk_Korvel.conf"},
        {"HOME unset", nullptr, nullptr, home + "/.config/Zigwalk_Korvel.conf"},
        {"HOME empty", "", nullptr, home + "/.config/Zigwalk_Korvel.conf"},
        {"HOME relative", "player", nullptr, home + "/.config/Zigwalk_Korvel.conf"},
        {"HOME unset, XDG_CONFIG_HOME relative", nullptr, "cfg", home + "/.config/Zigwalk_Korvel.conf"},
        {"HOME is the root folder", "/", nullptr, home + "/.config/Zigwalk_Korvel.conf"},
        {"HOME unset, XDG_CONFIG_HOME set", nullptr, "/tmp/config", "/tmp/config/Zigwalk_Korvel.conf"},
    };
    for (const auto& c : cases) {
        Variables variables;
        variables.set("HOME", c.home);
        variables.set("XDG_CONFIG_HOME", c.configHome);
        EXPECT_EQ(platform::storePathOf(StoreApp), c.expected) << c.name;
    }
}

// A game started from a service or a script with HOME unset, as root and as
// an ordinary user: the save goes to the home that the password database
// gives, whatever the current folder and a relative XDG_CONFIG_HOME say. The
// real database is not touched: in a mount namespace of the test's own a
// copy of it gives both users a scratch home.
class WithoutHome : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (const QString why = whyNoMountNamespace(); !why.isEmpty())
            GTEST_SKIP() << why.toStdString();
        ::chmod(QFile::encodeName(scratch.path()).constData(), 0755);
    }

    // Runs save_loop with HOME unset, in a folder of its own, as user
    // (root or nobody), with the user's home in the password database at home.
    int saveAs(const QString& user, const QString& home, QString* errors)
    {
        QFile real(QStringLiteral("/etc/passwd"));
        EXPECT_TRUE(real.open(QIODevice::ReadOnly));
        QByteArray copy;
        for (QByteArray line : real.readAll().split('\n')) {
            QList<QByteArray> fields = line.split(':');
            if (fields.size() == 7 && fields[0] == user.toUtf8())
                fields[5] = QFile::encodeName(home);
            copy += fields.join(':') + '\n';
        }
        const QString passwd = scratch.filePath(QStringLiteral("passwd"));
        writeBytes(passwd, copy);
        ::chmod(QFile::encodeName(passwd).constData(), 0644);

        const QString startedIn = scratch.filePath(QStringLiteral("started-here"));
        QDir().mkpath(startedIn);
        ::chmod(QFile::encodeName(startedIn).constData(), 0777);
        const QString asUser = user == QLatin1String("root")
            ? QString()
            : QStringLiteral("setpriv --reuid=nobody --regid=nogroup --clear-groups ");
        // The build folder may be closed to nobody (a clone under /root).
        const ProgramCopy saveLoop(QStringLiteral(SAVE_LOOP_PATH));
        EXPECT_FALSE(saveLoop.program().isEmpty());
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("HOME"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("relative/config"));
        run.setProcessEnvironment(env);
        run.setWorkingDirectory(startedIn);
        run.start(QStringLiteral("unshare"),
                  {"-m", "sh", "-c",
                   QStringLiteral("mount --bind '%1' /etc/passwd && exec %2'%3' save 3 1")
                       .arg(passwd, asUser, saveLoop.program())});
        EXPECT_TRUE(run.waitForFinished(30000));
        *errors = QString::fromLocal8Bit(run.readAllStandardError());
        startedInFolder = startedIn;
        return run.exitCode();
    }

    QTemporaryDir scratch;
    QString startedInFolder;
};

TEST_P(WithoutHome, TheSaveGoesToTheHomeOfThePasswordDatabase)
{
    const QString user = QString::fromLatin1(GetParam());
    const QString home = scratch.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    if (user != QLatin1String("root")) {
        ASSERT_EQ(::chown(QFile::encodeName(home).constData(), 65534, 65534), 0);
    }
    const QFileInfo rootStore(QStringLiteral("/.config/Zigwalk_Korvel.conf"));
    const QDateTime rootStoreBefore = rootStore.lastModified();

    QString errors;
    ASSERT_EQ(saveAs(user, home, &errors), 0) << errors.toStdString();
    EXPECT_EQ(fileBytes(home + QStringLiteral("/.config/Zigwalk_Korvel.conf")),
              "[SaveGame]\nSaw1=3\nSaw2=1\nSaw3=4\nSaw4=1\n");
    EXPECT_EQ(QDir(startedInFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{})
        << "the relative XDG_CONFIG_HOME was taken from the current folder";
    EXPECT_EQ(QFileInfo(rootStore.filePath()).lastModified(), rootStoreBefore) << "a store was written under /";
}

// A user whose home is the root folder has no place for the store: the save
// fails (the game then says so once) and nothing is written under /.
TEST_P(WithoutHome, AHomeOfTheRootFolderIsNoPlaceForTheStore)
{
    const QString user = QString::fromLatin1(GetParam());
    const QFileInfo rootStore(QStringLiteral("/.config/Zigwalk_Korvel.conf"));
    const QDateTime rootStoreBefore = rootStore.lastModified();

    QString errors;
    EXPECT_EQ(saveAs(user, QStringLiteral("/"), &errors), 75) << errors.toStdString();
    EXPECT_EQ(QFileInfo(rootStore.filePath()).lastModified(), rootStoreBefore) << "a store was written under /";
}

INSTANTIATE_TEST_SUITE_P(Users, WithoutHome, ::testing::Values("root", "nobody"),
                         [](const auto& info) { return std::string(info.param); });

// Saves and loads need nothing but the store's own folder: with the memory
// folder and the temp folder full, a save and a continue work as ever.
TEST(StoreFolders, FullMemoryAndTempFoldersStopNoSave)
{
    if (const QString why = whyNoMountNamespace(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();

    ConfigHome home;
    QTemporaryDir temp;
    const QString fill = QStringLiteral("mount -t tmpfs -o size=64k full '%1' && "
                                        "{ dd if=/dev/zero of='%1/fill' bs=4k 2>/dev/null; true; } && ");
    const QString script = fill.arg(QStringLiteral("/dev/shm")) + fill.arg(temp.path())
        + QStringLiteral("export TMPDIR='%1' && '%2' save 3 1 && '%2' save 4 1 && '%2' print")
              .arg(temp.path(), QStringLiteral(SAVE_LOOP_PATH));
    QProcess run;
    run.start(QStringLiteral("unshare"), {"-m", "sh", "-c", script});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_EQ(run.readAllStandardOutput().toStdString(), "Saw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n");
    EXPECT_EQ(fileBytes(home.storeFile()), "[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n");
}

} // namespace
} // namespace zw::test
