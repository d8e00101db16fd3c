#include "platform/SettingsStore.h"

#include "game/RuntimeError.h"

#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <sys/stat.h>

namespace zw::platform {

namespace {

// The application name is passed as QSettings' organisation with no
// application of its own: that makes the store one file named after it,
// $XDG_CONFIG_HOME/Zigwalk_Korvel.conf, rather than a folder with a file inside.
QSettings openStore(const QString& app)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, app);
}

// Which file the store's path names right now. A save replaces the file by
// renaming a new one over it, so a changed identity means the save went through.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino};
}

// A save killed between creating the store's lock file and writing its
// process id into it leaves an empty lock that names no owner. QSettings
// waits half a minute for such a lock to go stale, and the game's window
// would freeze that long at its first save. A save holds the lock for
// milliseconds, so a lock half a second old is taken as abandoned; should
// it belong to a very slow save after all, nothing tears, as every save
// replaces the whole file at once.
void clearAbandonedLock(const QString& storePath)
{
    constexpr int AbandonedAfterMs = 500;
    QLockFile lock(storePath + QStringLiteral(".lock"));
    lock.setStaleLockTime(AbandonedAfterMs);
    if (lock.tryLock(2 * AbandonedAfterMs))
        lock.unlock();
}

bool saved(QSettings::Status status, const FileIdentity& before, const FileIdentity& after)
{
    switch (status) {
    case QSettings::NoError:
        return true;
    case QSettings::FormatError:
        // The old file was damaged. QSettings rewrites it all the same, with
        // what it could read plus the new values, but its status can then no
        // longer tell a failed write apart; the file itself can.
        return after.exists && after != before;
    case QSettings::AccessError:
        break;
    }
    return false;
}

} // namespace

QString SettingsStore::read(const QString& app, const QString& section, const QString& key,
                            const QString& defaultText) const
{
    QSettings store = openStore(app);
    store.beginGroup(section);
    const QVariant value = store.value(key);
    if (!value.isValid())
        return defaultText;
    // A hand-edited line such as "Saw1=1,5" (commas without quotes) parses
    // as a list; give back the text that was typed rather than nothing.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::writeAll(const QString& app, const QString& section,
                             const std::vector<std::pair<QString, QString>>& values)
{
    QSettings store = openStore(app);
    // Only ever replace the file whole: never fall back to rewriting it in
    // place, which a crash halfway through would leave torn.
    store.setAtomicSyncRequired(true);
    const QString path = store.fileName();
    const FileIdentity before = identityOf(path);
    clearAbandonedLock(path);

    store.beginGroup(section);
    std::vector<std::pair<QString, QVariant>> previous;
    for (const auto& [key, text] : values) {
        previous.emplace_back(key, store.value(key));
        store.setValue(key, text);
    }
    store.sync();
    if (saved(store.status(), before, identityOf(path)))
        return;

    // QSettings keeps unsaved values for the rest of the process and would
    // hand them to the next read as if they were stored. Put back what was
    // there, so that the game goes on seeing what the file holds.
    for (const auto& [key, value] : previous) {
        if (value.isValid())
            store.setValue(key, value);
        else
            store.remove(key);
    }
    throw RuntimeError(75, "Path/File access error");
}

} // namespace zw::platform
