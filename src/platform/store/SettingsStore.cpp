#include "platform/store/SettingsStore.h"

#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "platform/store/StoreFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <mutex>
#include <set>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::platform {

namespace {

QString absoluteFolderFrom(const QByteArray& value)
{
    return value.startsWith('/') ? QDir::cleanPath(QFile::decodeName(value)) : QString();
}

// The player's home: HOME when it names a folder by its absolute path, and
// otherwise the home the password database gives, as GLib finds it. The root
// folder is nobody's home for the store: a game started from a service with
// HOME unset or set to / must not scatter a .config there.
QString homeFolder()
{
    QString home = absoluteFolderFrom(qgetenv("HOME"));
    if (home.isEmpty() || home == QLatin1String("/")) {
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        QByteArray buffer(size > 0 ? size : 16384, '\0');
        passwd entry {};
        passwd* found = nullptr;
        home.clear();
        if (::getpwuid_r(::geteuid(), &entry, buffer.data(), size_t(buffer.size()), &found) == 0 && found
            && found->pw_dir)
            home = absoluteFolderFrom(QByteArray(found->pw_dir));
    }
    return home == QLatin1String("/") ? QString() : home;
}

// The folder of the player's settings: XDG_CONFIG_HOME when it is an
// absolute path (the XDG rules ignore a relative one, which would make the
// store depend on where the game was started), else .config in the home.
QString configFolder()
{
    const QString configHome = absoluteFolderFrom(qgetenv("XDG_CONFIG_HOME"));
    if (!configHome.isEmpty())
        return configHome;
    const QString home = homeFolder();
    return home.isEmpty() ? QString() : home + QStringLiteral("/.config");
}

// Saves of two copies of the game take turns through the lock QSettings
// itself uses beside the store. A save killed between creating the lock and
// writing its process id into it leaves an empty lock that names no owner;
// QLockFile would wait half a minute for it to go stale and the window would
// freeze that long. A save holds the lock for milliseconds, so an ownerless
// lock half a second old is taken as abandoned. A lock whose owner has died
// is taken at once. A save that cannot get the lock still goes through (the
// rename keeps it whole) but leaves the folder alone.
class StoreLock {
public:
    explicit StoreLock(const QString& storePath) : lock_(storePath + QStringLiteral(".lock"))
    {
        // Never wait on a pipe or device someone put where the lock goes.
        struct stat info {};
        const QByteArray lockPath = QFile::encodeName(storePath + QStringLiteral(".lock"));
        if (::lstat(lockPath.constData(), &info) == 0 && !S_ISREG(info.st_mode))
            return;

        held_ = lock_.tryLock(0);
        if (held_ || lock_.error() != QLockFile::LockFailedError)
            return;
        qint64 pid = 0;
        QString host, application;
        if (!lock_.getLockInfo(&pid, &host, &application))
            lock_.setStaleLockTime(AbandonedAfterMs);
        held_ = lock_.tryLock(LongestWaitMs);
    }
    ~StoreLock()
    {
        if (held_)
            lock_.unlock();
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool held() const { return held_; }

private:
    static constexpr int AbandonedAfterMs = 500;
    static constexpr int LongestWaitMs = 2000;
    QLockFile lock_;
    bool held_ = false;
};

// Leftovers of saves cut short are looked for once a run in each folder:
// a save of this run that is cut short ends the run with it, so a second
// look would only find what another copy of the game is writing, and in a
// folder of many files each look costs every death a wait.
void removeLeftoversOnce(const QString& storePath)
{
    static std::mutex guard;
    static std::set<QString> looked;
    const std::lock_guard<std::mutex> lock(guard);
    if (looked.insert(QFileInfo(storePath).absolutePath()).second)
        removeLeftovers(storePath);
}

[[noreturn]] void failSave()
{
    throw RuntimeError(UnreadableStore::FileAccess, UnreadableStore::FileAccessMessage);
}

} // namespace

QString SettingsStore::pathOf(const QString& app)
{
    const QString folder = configFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + app + QStringLiteral(".conf");
}

std::vector<QString> SettingsStore::readAll(const QString& app, const QString& section,
                                            const KeyTexts& keysWithDefaults) const
{
    const QString path = pathOf(app);
    const StoreFile store = path.isEmpty() ? StoreFile() : readStoreFile(path);
    switch (store.state) {
    case StoreFile::Missing:
        return storedValues({}, section, keysWithDefaults);
    case StoreFile::Ordinary:
        return storedValues(store.bytes, section, keysWithDefaults);
    default:
        throw UnreadableStore();
    }
}

QString SettingsStore::read(const QString& app, const QString& section, const QString& key,
                            const QString& defaultText) const
{
    return readAll(app, section, {{key, defaultText}}).front();
}

void SettingsStore::writeAll(const QString& app, const QString& section, const KeyTexts& values)
{
    const QString path = pathOf(app);
    if (path.isEmpty())
        failSave();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) // a first save makes the folder
        failSave();

    const StoreLock lock(path);
    const StoreFile found = readStoreFile(path);
    if (lock.held()) {
        removeLeftoversOnce(path);
        // Beside the file a link of the store leads to, where the game's
        // saves write; not beside a folder or device it leads to.
        if (found.target != path && found.mayBeReplaced())
            removeLeftoversOnce(found.target);
    }
    // Nothing but an ordinary file is ever replaced, and a file that cannot
    // be read may hold a save the player still wants: both stay as they are.
    // A file far too large to be a save is damaged data and gives way to
    // the new values alone.
    if (!found.mayBeReplaced())
        failSave();
    const QByteArray old = found.state == StoreFile::Ordinary ? found.bytes : QByteArray();
    if (!replaceStoreFile(found, withStoredValues(old, section, values)))
        failSave();
}

} // namespace zw::platform
