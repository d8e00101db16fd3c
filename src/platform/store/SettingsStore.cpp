#include "platform/store/SettingsStore.h"

#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "platform/store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <mutex>
#include <set>

#include <sys/stat.h>

namespace zw::platform {

namespace {

// Saves of two copies of the game take turns through a lock beside the
// store. A save killed between creating the lock and writing its process id
// into it leaves an empty lock that names no owner; QLockFile would wait half
// a minute for it to go stale and the window would freeze that long. A save
// holds the lock for milliseconds, so an ownerless lock half a second old is
// taken as abandoned. A lock whose owner has died is taken at once. A save
// that cannot get the lock still goes through (the rename keeps it whole)
// but leaves the folder alone.
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

std::vector<QString> SettingsStore::readAll(const QString& section, const KeyTexts& keysWithDefaults) const
{
    const StoreFile store = path_.isEmpty() ? StoreFile() : readStoreFile(path_);
    switch (store.state) {
    case StoreFile::Missing:
        return storedValues({}, section, keysWithDefaults);
    case StoreFile::Ordinary:
        return storedValues(store.bytes, section, keysWithDefaults);
    default:
        throw UnreadableStore();
    }
}

void SettingsStore::writeAll(const QString& section, const KeyTexts& values)
{
    if (std::any_of(values.begin(), values.end(), [](const auto& value) { return !isStorableValue(value.second); }))
        throw RuntimeError(RuntimeError::InvalidProcedureCall, "Invalid procedure call or argument");
    if (path_.isEmpty())
        failSave();
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) // a first save makes the folder
        failSave();

    const StoreLock lock(path_);
    const StoreFile found = readStoreFile(path_);
    const bool replaceable = found.state == StoreFile::Missing || found.state == StoreFile::Ordinary;
    if (lock.held()) {
        removeLeftoversOnce(path_);
        // Beside the file a link of the store leads to, where the game's
        // saves write; not beside a folder or device it leads to.
        if (found.target != path_ && replaceable)
            removeLeftoversOnce(found.target);
    }
    // Nothing but an ordinary file of a sane size is ever replaced: a file
    // that cannot be read, or is too large to read, may hold a save the
    // player still wants, and stays as it is.
    if (!replaceable || !replaceStoreFile(found, withStoredValues(found.bytes, section, values)))
        failSave();
}

} // namespace zw::platform
