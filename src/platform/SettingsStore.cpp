#include "platform/SettingsStore.h"

#include "game/RuntimeError.h"
#include "game/UnreadableStore.h"
#include "platform/StoreFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace zw::platform {

namespace {

// QSettings reads and writes its format only through files it opens itself,
// and it would open whatever stands at the store's path: a pipe there blocks
// it for good, a device gets replaced. So it never sees the store's path: it
// works on a private copy of what StoreFile read, and a save's new contents
// are put in place by StoreFile.
class PrivateCopy {
public:
    explicit PrivateCopy(const QByteArray& bytes)
    {
        // In memory where the system has a folder for that: QSettings
        // flushes what it writes to disk, which on a disk would cost every
        // death a second wait for it.
        for (const QString& place : places()) {
            folder_ = std::make_unique<QTemporaryDir>(place + QLatin1Char('/') + NamePrefix + QStringLiteral("XXXXXX"));
            if (folder_->isValid())
                break;
        }
        if (!folder_->isValid())
            return;
        QFile file(path());
        valid_ = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    }

    bool isValid() const { return valid_; }
    QString path() const { return folder_->filePath(QStringLiteral("store.conf")); }

    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A game killed halfway through a save leaves its copy behind. A copy
    // lives for milliseconds, so one of the player's own copies a minute
    // old is such a leftover.
    static void removeAbandoned()
    {
        const QDateTime minuteAgo = QDateTime::currentDateTimeUtc().addSecs(-60);
        for (const QString& place : places()) {
            const QFileInfoList found = QDir(place).entryInfoList({NamePrefix + QStringLiteral("??????")},
                                                                  QDir::Dirs | QDir::NoSymLinks | QDir::Hidden);
            for (const QFileInfo& copy : found) {
                if (copy.ownerId() == ::geteuid() && copy.lastModified().toUTC() < minuteAgo)
                    QDir(copy.absoluteFilePath()).removeRecursively();
            }
        }
    }

private:
    inline static const QString NamePrefix = QStringLiteral("zigwalk-save-");

    static QStringList places() { return {QStringLiteral("/dev/shm"), QDir::tempPath()}; }

    std::unique_ptr<QTemporaryDir> folder_;
    bool valid_ = false;
};

QString valueIn(const QString& iniFile, const QString& section, const QString& key, const QString& defaultText)
{
    QSettings settings(iniFile, QSettings::IniFormat);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultText;
    // A hand-edited line such as "Saw1=1,5" (commas without quotes) parses
    // as a list; give back the text that was typed rather than nothing.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// The old file with the new values set in it; other sections and keys stay.
std::optional<QByteArray> withValues(const QByteArray& old, const QString& section,
                                     const std::vector<std::pair<QString, QString>>& values)
{
    PrivateCopy copy(old);
    if (!copy.isValid())
        return std::nullopt;
    {
        QSettings settings(copy.path(), QSettings::IniFormat);
        settings.beginGroup(section);
        for (const auto& [key, text] : values)
            settings.setValue(key, text);
        settings.sync();
        // A damaged old file gives FormatError; QSettings still writes what
        // it could read of it with the new values, which is what a save wants.
        if (settings.status() == QSettings::AccessError)
            return std::nullopt;
    }
    QByteArray bytes = copy.bytes();
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
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

[[noreturn]] void failSave()
{
    throw RuntimeError(UnreadableStore::FileAccess, UnreadableStore::FileAccessMessage);
}

} // namespace

QString SettingsStore::pathOf(const QString& app)
{
    // The folder QSettings uses for the user's native-format files on this desktop.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + app
        + QStringLiteral(".conf");
}

QString SettingsStore::read(const QString& app, const QString& section, const QString& key,
                            const QString& defaultText) const
{
    const OpenStoreFile store(pathOf(app));
    switch (store.found().state) {
    case StoreFile::Missing:
        return defaultText;
    case StoreFile::Ordinary:
        break;
    default:
        throw UnreadableStore();
    }
    // QSettings reads a private copy of what was read. It keeps what it read
    // of a file by name and reads the file again only when its size or time
    // changed, so every copy has a name of its own. Where no copy can be
    // written (no temporary folder, a file size limit), it opens the file
    // held open instead, never the store's path.
    const PrivateCopy copy(store.found().bytes);
    if (copy.isValid())
        return valueIn(copy.path(), section, key, defaultText);
    const QString heldOpen = store.pathToOpenFile();
    if (heldOpen.isEmpty())
        throw UnreadableStore();
    return valueIn(heldOpen, section, key, defaultText);
}

void SettingsStore::writeAll(const QString& app, const QString& section,
                             const std::vector<std::pair<QString, QString>>& values)
{
    const QString path = pathOf(app);
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')));
    if (!QDir().mkpath(folder)) // a first save makes the folder
        failSave();

    const StoreLock lock(path);
    const StoreFile found = readStoreFile(path);
    if (lock.held()) {
        PrivateCopy::removeAbandoned();
        removeLeftovers(path);
        // Beside the file a link of the store leads to, where the game's
        // saves write; not beside a folder or device it leads to.
        if (found.target != path && found.mayBeReplaced())
            removeLeftovers(found.target);
    }
    // Nothing but an ordinary file is ever replaced, and a file that cannot
    // be read may hold a save the player still wants: both stay as they are.
    // A file far too large to be a save is damaged data and gives way to
    // the new values alone.
    if (!found.mayBeReplaced())
        failSave();
    const std::optional<QByteArray> bytes =
        withValues(found.state == StoreFile::Ordinary ? found.bytes : QByteArray(), section, values);
    if (!bytes || !replaceStoreFile(found, *bytes))
        failSave();
}

} // namespace zw::platform
