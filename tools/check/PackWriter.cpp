#include "PackWriter.h"

#include "base/RegularFile.h"
#include "check/PrintableName.h"
#include "platform/store/ReplaceFile.h"

#include <QDir>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace zw::check {

namespace {

// libarchive's writer hands the pack's bytes here, in order.
la_ssize_t appendToPack(archive*, void* pack, const void* bytes, size_t length)
{
    static_cast<QByteArray*>(pack)->append(static_cast<const char*>(bytes), qsizetype(length));
    return la_ssize_t(length);
}

struct WriterCloser {
    void operator()(archive* a) const { archive_write_free(a); }
};

// The same levels make the same pack, byte for byte: every entry carries
// one fixed time rather than the moment it was packed.
constexpr time_t PackEntryTime = 946684800; // 2000-01-01

bool addEntry(archive* zip, const QString& name, const QByteArray& bytes, QString& error)
{
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), bytes.size());
    archive_entry_set_mtime(entry.get(), PackEntryTime, 0);
    if (archive_write_header(zip, entry.get()) != ARCHIVE_OK ||
        archive_write_data(zip, bytes.constData(), std::size_t(bytes.size())) != bytes.size()) {
        error = QString::fromUtf8(archive_error_string(zip));
        return false;
    }
    return true;
}

// The level's bytes as the folder holds them, read as the game reads a
// level: only a regular file, opened without waiting, never past the cap.
bool levelBytes(const QString& path, QByteArray& bytes, QString& error)
{
    RegularFile file = readRegularFile(QFile::encodeName(path), LargestPictureFile, FollowLinks::Yes);
    switch (file.state) {
    case RegularFile::Read: bytes = std::move(file.bytes); return true;
    case RegularFile::Missing:
    case RegularFile::Unreadable:
        error = QStringLiteral("cannot read %1: %2").arg(printableName(path), QString::fromLocal8Bit(std::strerror(file.error)));
        return false;
    case RegularFile::NotRegular: error = QStringLiteral("%1 is no longer a regular file").arg(printableName(path)); return false;
    case RegularFile::TooLarge:
        error = QStringLiteral("%1 grew past %2 bytes while it was packed").arg(printableName(path)).arg(LargestPictureFile);
        return false;
    }
    return false;
}

} // namespace

bool writeLevelPack(const PlayerFolder& folder, const QString& folderPath, const PackInfo& info, const QString& out,
                    QString& error)
{
    auto fail = [&](const QString& why) {
        error = QStringLiteral("cannot write %1: %2").arg(printableName(out), why);
        return false;
    };
    zw::platform::Replacement replacement;
    if (const int why = zw::platform::lookBeforeReplacing(out, replacement))
        return fail(QString::fromLocal8Bit(std::strerror(why)));

    // The pack is made in memory, one level read at a time: it is no larger
    // than its levels, and the store's whole-file replacement writes it.
    QByteArray pack;
    {
        const QDir dir(folder.canonicalPath);
        std::unique_ptr<archive, WriterCloser> zip(archive_write_new());
        archive_write_set_format_zip(zip.get());
        archive_write_set_bytes_in_last_block(zip.get(), 1); // no padding after the archive
        if (archive_write_open(zip.get(), &pack, nullptr, appendToPack, nullptr) != ARCHIVE_OK)
            return fail(QString::fromUtf8(archive_error_string(zip.get())));
        for (const PlayerLevel& level : folder.levels) {
            QByteArray bytes;
            if (!levelBytes(dir.filePath(level.file), bytes, error) || !addEntry(zip.get(), level.file, bytes, error))
                return fail(error);
        }
        const QByteArray infoText = packInfoText(info);
        if (!infoText.isEmpty() && !addEntry(zip.get(), PackInfoFile, infoText, error))
            return fail(error);
        if (archive_write_close(zip.get()) != ARCHIVE_OK)
            return fail(QString::fromUtf8(archive_error_string(zip.get())));
    }

    // Read back as the game reads it before it takes the pack's name: what
    // was written is what will be played.
    QString unreadable;
    const zw::platform::Replaced done = zw::platform::replaceFile(replacement, pack, [&](const QString& written) {
        const PlayerPack back = openPlayerPack(written, Language::English);
        if (back.levels.findings.empty() && back.levels.levels.size() == folder.levels.size())
            return 0;
        unreadable = back.levels.findings.empty() ? QStringLiteral("levels lost") : back.levels.findings.front().line();
        return EBADMSG;
    });
    if (!unreadable.isEmpty()) {
        error = QStringLiteral("the pack written for %1 does not read back: %2").arg(printableName(folderPath), unreadable);
        return false;
    }
    if (done.error && !done.inPlace)
        return fail(QString::fromLocal8Bit(std::strerror(done.error)) + QStringLiteral("; nothing was written"));
    if (done.error)
        return fail(QStringLiteral("written, but its folder could not be synced to disk: ") +
                    QString::fromLocal8Bit(std::strerror(done.error)));
    return true;
}

} // namespace zw::check
