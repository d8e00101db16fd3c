#include "PackWriter.h"

#include "base/RegularFile.h"
#include "check/PrintableName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::check {

namespace {

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

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
    const QFileInfo target(out);
    const QDir dir(folder.canonicalPath);
    // The new file lies beside the pack, so that the rename cannot cross
    // file systems, and carries a name no player would give a pack.
    QByteArray temp = QFile::encodeName(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = QStringLiteral("cannot write in %1: %2").arg(printableName(target.absolutePath()), systemError());
        return false;
    }
    auto fail = [&](const QString& why) {
        error = why;
        ::unlink(temp.constData());
        return false;
    };
    {
        std::unique_ptr<archive, WriterCloser> zip(archive_write_new());
        archive_write_set_format_zip(zip.get());
        archive_write_set_bytes_in_last_block(zip.get(), 1); // no padding after the archive
        if (archive_write_open_fd(zip.get(), fd) != ARCHIVE_OK) {
            ::close(fd);
            return fail(QString::fromUtf8(archive_error_string(zip.get())));
        }
        bool written = true;
        for (const PlayerLevel& level : folder.levels) {
            QByteArray bytes;
            if (!levelBytes(dir.filePath(level.file), bytes, error) || !addEntry(zip.get(), level.file, bytes, error)) {
                written = false;
                break;
            }
        }
        const QByteArray infoText = packInfoText(info);
        if (written && !infoText.isEmpty())
            written = addEntry(zip.get(), PackInfoFile, infoText, error);
        if (written && archive_write_close(zip.get()) != ARCHIVE_OK) {
            error = QString::fromUtf8(archive_error_string(zip.get()));
            written = false;
        }
        if (!written) {
            ::close(fd);
            return fail(QStringLiteral("cannot write %1: %2").arg(printableName(out), error));
        }
    }
    // Readable as the player's other new files are (mkstemp makes it private).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0 || ::fsync(fd) != 0) {
        const QString why = systemError();
        ::close(fd);
        return fail(QStringLiteral("cannot write %1: %2").arg(printableName(out), why));
    }
    if (::close(fd) != 0)
        return fail(QStringLiteral("cannot write %1: %2").arg(printableName(out), systemError()));

    // Read back as the game reads it: what was written is what will be played.
    const PlayerPack back = openPlayerPack(QFile::decodeName(temp), Language::English);
    if (!back.levels.findings.empty() || back.levels.levels.size() != folder.levels.size())
        return fail(QStringLiteral("the pack written for %1 does not read back: %2")
                        .arg(printableName(folderPath), back.levels.findings.empty() ? QStringLiteral("levels lost")
                                                                      : back.levels.findings.front().line()));
    if (::rename(temp.constData(), QFile::encodeName(out).constData()) != 0)
        return fail(QStringLiteral("cannot write %1: %2").arg(printableName(out), systemError()));
    // The rename itself lasts once the folder is synced.
    const int dirFd = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace zw::check
