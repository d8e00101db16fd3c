#pragma once
// A copy of a built program in a folder of its own under /tmp, for a test
// that runs it as another user. The build folder may lie where that user
// cannot go (a clone under /root, mode 0700, refuses them the execve), and a
// private TMPDIR may be just as closed, so the folder is made under /tmp
// itself and opened to everyone. The program is the only file it needs: the
// pictures are compiled in, Qt and its plugins are the system's.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::test {

class ProgramCopy {
public:
    explicit ProgramCopy(const QString& original)
    {
        QByteArray pattern("/tmp/zigwalk-program-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        folder_ = QFile::decodeName(pattern);
        ::chmod(pattern.constData(), 0755);
        program_ = folder_ + QLatin1Char('/') + original.section(QLatin1Char('/'), -1);
        // Copied whatever the umask was when it was built: anyone may run it.
        if (QFile::copy(original, program_))
            ::chmod(QFile::encodeName(program_).constData(), 0755);
        else
            program_.clear();
    }
    ~ProgramCopy()
    {
        if (folder_.isEmpty())
            return;
        // A test may have closed the folder to writes; its owner opens it again to clean up.
        ::chmod(QFile::encodeName(folder_).constData(), 0755);
        QDir(folder_).removeRecursively();
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    // Empty when the copy could not be made.
    QString program() const { return program_; }
    QString folder() const { return folder_; }

private:
    QString folder_;
    QString program_;
};

} // namespace zw::test
