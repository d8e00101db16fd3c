#include "check/PlayerPack.h"

#include "base/RegularFile.h"
#include "check/PrintableName.h"


#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <archive.h>
#include <archive_entry.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::check {

namespace {

// The level a pack entry's name stands for, or 0.
int levelOf(const QString& name)
{
    for (int level = FirstMaze; level <= LastMaze + 1; ++level)
        if (name == playerLevelFile(level))
            return level;
    return 0;
}

bool namesArchive(const QString& name)
{
    for (const char* suffix : {".zip", ".zigwalk", ".tar", ".gz", ".bz2", ".xz", ".zst", ".7z", ".rar", ".jar"})
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

bool startsArchive(const QByteArray& bytes)
{
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06") || bytes.startsWith("\x1f\x8b") ||
           bytes.startsWith("7z\xbc\xaf") || bytes.startsWith("Rar!");
}

quint32 littleEndian(const char* p, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(p[i]);
    return v;
}

// The archive's end record, read before the archive library is handed the
// file. The library takes the last end signature near the file's end, and
// then lists the central directory record by record up to the next end
// signature, whatever count the end record gives: the count is only trusted
// once the directory has been walked and found to end where the record says.
struct EndRecord {
    bool found = false; // false: no end signature, not a ZIP archive
    bool sound = false; // one disk, the directory right before the record, the comment up to the file's end
    qint64 entries = 0;
    qint64 directoryAt = 0;
    qint64 at = 0; // where the record itself starts
};

EndRecord endRecord(int fd, qint64 size)
{
    constexpr qint64 RecordSize = 22, LongestComment = 0xFFFF, Zip64LocatorSize = 20;
    const qint64 tail = std::min(size, RecordSize + LongestComment);
    QByteArray bytes(tail, Qt::Uninitialized);
    if (::pread(fd, bytes.data(), std::size_t(tail), size - tail) != tail)
        return {};
    for (qint64 at = tail - RecordSize; at >= 0; --at)
        if (bytes.at(at) == 'P' && bytes.mid(at, 4) == QByteArrayLiteral("PK\x05\x06")) {
            const char* p = bytes.constData() + at;
            EndRecord end{true, false, littleEndian(p + 10, 2), littleEndian(p + 16, 4), size - tail + at};
            const qint64 directorySize = littleEndian(p + 12, 4);
            // A ZIP64 locator before the record would send the library to
            // another directory than the one this record names.
            const bool zip64 = at >= Zip64LocatorSize && bytes.mid(at - Zip64LocatorSize, 4) == QByteArrayLiteral("PK\x06\x07");
            end.sound = littleEndian(p + 4, 2) == 0 && littleEndian(p + 6, 2) == 0 &&
                        littleEndian(p + 8, 2) == littleEndian(p + 10, 2) && end.directoryAt + directorySize == end.at &&
                        end.at + RecordSize + littleEndian(p + 20, 2) == size && !zip64;
            return end;
        }
    return {};
}

// The central directory as the archive library will list it: records from
// where the end record says it starts, at most `most` + 1 of them.
struct Directory {
    int records = 0;     // whole records read, up to `most` + 1
    qint64 endsAt = 0;   // just past the last of them
    QString pastLimit;   // the name of record `most` + 1, when there is one
};

Directory walkDirectory(int fd, const EndRecord& end, int most)
{
    constexpr qint64 RecordSize = 46;
    Directory directory{0, end.directoryAt, {}};
    while (directory.records <= most && directory.endsAt < end.at) {
        char record[RecordSize];
        const qint64 at = directory.endsAt;
        if (::pread(fd, record, RecordSize, at) != RecordSize || littleEndian(record, 4) != 0x02014b50u)
            break;
        const qint64 nameLength = littleEndian(record + 28, 2);
        if (++directory.records > most) {
            QByteArray name(nameLength, Qt::Uninitialized);
            if (::pread(fd, name.data(), std::size_t(nameLength), at + RecordSize) == nameLength)
                directory.pastLimit = QString::fromUtf8(name);
        }
        directory.endsAt = at + RecordSize + nameLength + littleEndian(record + 30, 2) + littleEndian(record + 32, 2);
    }
    return directory;
}

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};

// Reads one pack: every refusal is a finding naming the entry, and reading
// stops at the first entry that is no part of a pack.
class PackReader {
public:
    PackReader(const QString& path, Language lang, bool measureWays)
        : path_(path), lang_(lang), measureWays_(measureWays), packName_(printableName(QFileInfo(path).fileName()))
    {
    }

    PlayerPack read()
    {
        // Only a regular file, opened without waiting: a pipe or a device is
        // no pack, and must not be waited on. A compressed entry is never
        // larger than it could inflate to by much; with the headers, a pack
        // at the content cap is a little over it.
        constexpr qint64 LargestPackFile = LargestPackContent + 64 * 1024;
        file_ = openRegularFile(QFile::encodeName(path_), LargestPackFile, FollowLinks::Yes);
        if (file_.state != RegularFile::Read)
            return refusePack(notRead(lang_, file_.state, file_.error, LargestPackFile));
        const int fd = file_.fd;
        const qint64 size = file_.info.st_size;
        const EndRecord end = endRecord(fd, size);
        if (!end.found)
            return refusePack(say(lang_, "není archiv ZIP", "not a ZIP archive"));
        const Directory directory = walkDirectory(fd, end, MostPackEntries);
        if (directory.records > MostPackEntries && end.entries > MostPackEntries) {
            const QString detail = say(lang_, "položka č. %1 z %2; balíček jich má nejvýš %3",
                                       "entry %1 of %2; a pack holds at most %3")
                                       .arg(MostPackEntries + 1)
                                       .arg(end.entries)
                                       .arg(MostPackEntries);
            return directory.pastLimit.isEmpty() ? refusePack(detail) : (refuse(directory.pastLimit, detail), std::move(pack_));
        }
        if (!end.sound || directory.records != end.entries || directory.endsAt != end.at)
            return refusePack(say(lang_, "ústřední adresář archivu neodpovídá jeho závěrečnému záznamu",
                                  "the archive's central directory does not match its end record"));

        std::unique_ptr<archive, ArchiveCloser> zip(archive_read_new());
        archive_read_support_format_zip_seekable(zip.get());
        if (archive_read_open_fd(zip.get(), fd, 64 * 1024) != ARCHIVE_OK)
            return refusePack(notZip(zip.get()));
        archive_entry* entry = nullptr;
        int seen = 0;
        int status = ARCHIVE_OK;
        while ((status = archive_read_next_header(zip.get(), &entry)) == ARCHIVE_OK) {
            if (++seen > MostPackEntries)
                return refusePack(say(lang_, "víc než %1 položek", "more than %1 entries").arg(MostPackEntries));
            if (!readEntry(zip.get(), entry))
                return std::move(pack_);
        }
        if (status != ARCHIVE_EOF)
            return refusePack(notZip(zip.get()));
        return finish();
    }

private:
    // The library's reason is English whatever the game speaks: it is shown
    // to an English player only.
    QString notZip(archive* zip) const
    {
        return lang_ == Language::English
                   ? QStringLiteral("cannot be read as a ZIP archive: %1").arg(printableName(QString::fromUtf8(archive_error_string(zip))))
                   : QString::fromUtf8("nelze číst jako archiv ZIP (poškozený nebo neúplný)");
    }

    PlayerPack refusePack(const QString& detail)
    {
        pack_.levels.findings.push_back({packName_, say(lang_, "balíček", "pack"), detail});
        return std::move(pack_);
    }

    bool refuse(const QString& entry, const QString& detail)
    {
        pack_.levels.findings.push_back({printableName(entry), say(lang_, "položka", "entry"), detail});
        return false;
    }

    // Reads one entry; false when it is refused and reading stops.
    bool readEntry(archive* zip, archive_entry* entry)
    {
        const char* utf8 = archive_entry_pathname_utf8(entry);
        const char* raw = archive_entry_pathname(entry);
        const QString name = utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(raw ? raw : "");
        if (name.isEmpty())
            return refuse(QStringLiteral("?"), say(lang_, "položka bez jména", "an entry without a name"));
        if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
            (name.size() > 1 && name.at(1) == QLatin1Char(':')))
            return refuse(name, say(lang_, "absolutní cesta", "an absolute path"));
        if (name == QLatin1String("..") || name.startsWith(QLatin1String("../")) || name.contains(QLatin1String("/../")) ||
            name.endsWith(QLatin1String("/..")) || name.contains(QLatin1String("..\\")))
            return refuse(name, say(lang_, "vede ven z balíčku (..)", "leads out of the pack (..)"));
        if (archive_entry_symlink(entry) || archive_entry_hardlink(entry) || archive_entry_filetype(entry) == AE_IFLNK)
            return refuse(name, say(lang_, "odkaz; balíček drží jen soubory", "a link; a pack holds files only"));
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || archive_entry_filetype(entry) == AE_IFDIR)
            return refuse(name, say(lang_, "složka; úrovně leží v balíčku přímo", "a folder; the levels lie in the pack itself"));
        if (archive_entry_filetype(entry) != AE_IFREG)
            return refuse(name, say(lang_, "není obyčejný soubor", "not a regular file"));
        if (archive_entry_is_encrypted(entry))
            return refuse(name, say(lang_, "zašifrovaná položka", "an encrypted entry"));
        const int level = levelOf(name);
        const bool info = name == PackInfoFile;
        if (namesArchive(name))
            return refuse(name, say(lang_, "archiv v archivu", "a nested archive"));
        if (!level && !info)
            return refuse(name, say(lang_, "do balíčku patří jen level-01.png až level-%1.png a %2",
                                    "a pack holds only level-01.png to level-%1.png and %2")
                                    .arg(LastMaze)
                                    .arg(PackInfoFile));
        if ((level && levels_.count(level)) || (info && sawInfo_))
            return refuse(name, say(lang_, "je v balíčku dvakrát", "is in the pack twice"));
        if (!archive_entry_size_is_set(entry))
            return refuse(name, say(lang_, "neudává svou velikost", "does not declare its size"));
        const qint64 declared = archive_entry_size(entry);
        const qint64 cap = info ? LargestPackInfo : LargestPictureFile;
        if (declared < 0 || declared > cap)
            return refuse(name, say(lang_, "udává %1 B, nejvýš %2 B", "declares %1 bytes, at most %2").arg(declared).arg(cap));
        if (total_ + declared > LargestPackContent)
            return refuse(name, say(lang_, "balíček by s ní přesáhl %1 B", "takes the pack past %1 bytes").arg(LargestPackContent));
        total_ += declared;

        // Read with a cap of one byte past what it declares: an entry that
        // inflates to more says so at that byte, not after gigabytes.
        QByteArray bytes(declared + 1, Qt::Uninitialized);
        qint64 got = 0;
        while (got < declared + 1) {
            const la_ssize_t n = archive_read_data(zip, bytes.data() + got, std::size_t(declared + 1 - got));
            if (n < 0)
                // The library's own reason is English and technical: a size
                // that disagrees with the data, or a damaged stream.
                return refuse(name, say(lang_, "nerozbalí se na udávaných %1 B (poškozená nebo lže o velikosti)",
                                        "does not inflate to its declared %1 bytes (damaged, or its size lies)")
                                        .arg(declared));
            if (n == 0)
                break;
            got += n;
        }
        if (got != declared)
            return refuse(name, got > declared
                                    ? say(lang_, "rozbalí se na víc než udávaných %1 B", "inflates to more than its declared %1 bytes").arg(declared)
                                    : say(lang_, "rozbalí se na %1 B, udává %2 B", "inflates to %1 bytes, declares %2").arg(got).arg(declared));
        bytes.truncate(declared);
        if (startsArchive(bytes))
            return refuse(name, say(lang_, "archiv v archivu", "a nested archive"));

        if (info) {
            sawInfo_ = true;
            pack_.info = readPackInfo(bytes, lang_, pack_.levels.findings);
            return true;
        }
        if (level > LastMaze) { // named by the numbering rule below
            levels_[level];
            return true;
        }
        Level& kept = levels_[level];
        kept.hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        kept.level.file = name;
        keepPlayerLevel(kept.level, decodePlayerPicture(std::move(bytes), name, lang_, kept.findings), lang_, measureWays_, kept.findings);
        return true;
    }

    PlayerPack finish()
    {
        std::vector<Finding>& findings = pack_.levels.findings;
        const int last = checkNumbering([this](int level) { return levels_.count(level) > 0; },
                                        say(lang_, "v balíčku %1 chybí", "missing in %1").arg(packName_),
                                        say(lang_, "balíček", "pack"), lang_, findings);
        QCryptographicHash content(QCryptographicHash::Sha256);
        for (int level = FirstMaze; level <= last; ++level) {
            auto found = levels_.find(level);
            if (found == levels_.end()) {
                pack_.levels.levels.push_back({playerLevelFile(level), {}, {}});
                continue;
            }
            for (Finding& f : found->second.findings)
                findings.push_back(std::move(f));
            content.addData(found->second.hash);
            pack_.levels.levels.push_back(std::move(found->second.level));
        }
        pack_.levels.canonicalPath = QFileInfo(path_).canonicalFilePath();
        if (findings.empty())
            pack_.contentHash = content.result();
        return std::move(pack_);
    }

    struct Level {
        PlayerLevel level;
        QByteArray hash; // of its bytes
        std::vector<Finding> findings;
    };

    QString path_;
    Language lang_;
    bool measureWays_;
    QString packName_;
    OpenRegularFile file_; // the pack, open while it is read
    qint64 total_ = 0;
    bool sawInfo_ = false;
    std::map<int, Level> levels_; // in level order, whatever the archive's order
    PlayerPack pack_;
};

} // namespace

bool namesPack(const QString& path) { return path.endsWith(PackSuffix, Qt::CaseInsensitive) && !QFileInfo(path).isDir(); }

PackInfo readPackInfo(const QByteArray& bytes, Language lang, std::vector<Finding>& out)
{
    PackInfo info;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        out.push_back({PackInfoFile, say(lang, "soubor", "file"), say(lang, "není v kódování UTF-8", "not UTF-8")});
        return info;
    }
    for (QString line : text.split(QLatin1Char('\n'))) {
        // Control characters would break the title and the findings' lines;
        // format characters (a right-to-left override, zero-width marks)
        // would turn the title round or hide what it says.
        line.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed().toLower();
        const QString value = line.mid(colon + 1).trimmed();
        if (key == QLatin1String("name"))
            info.name = value;
        else if (key == QLatin1String("author"))
            info.author = value;
        else if (key == QLatin1String("description"))
            info.description = info.description.isEmpty() ? value : info.description + QLatin1Char('\n') + value;
    }
    return info;
}

QByteArray packInfoText(const PackInfo& info)
{
    QString text;
    if (!info.name.isEmpty())
        text += QStringLiteral("name: %1\n").arg(info.name);
    if (!info.author.isEmpty())
        text += QStringLiteral("author: %1\n").arg(info.author);
    for (const QString& line : info.description.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        text += QStringLiteral("description: %1\n").arg(line);
    return text.toUtf8();
}

PlayerPack openPlayerPack(const QString& path, Language lang, bool measureWays)
{
    return PackReader(path, lang, measureWays).read();
}

} // namespace zw::check
