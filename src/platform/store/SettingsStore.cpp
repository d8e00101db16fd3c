#include "platform/store/SettingsStore.h"

#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "platform/store/AtomicFile.h"
#include "platform/store/StoreLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <mutex>
#include <set>

namespace zw::platform {

namespace {

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
    if (!replaceable)
        failSave();
    // Nor is one made that the game would refuse to read back: a store at
    // its size limit that one more digit would push past it keeps the save
    // it holds, and continue still reads that.
    const QByteArray edited = withStoredValues(found.bytes, section, values);
    if (edited.size() > LargestStore || !replaceStoreFile(found, edited))
        failSave();
}

} // namespace zw::platform
