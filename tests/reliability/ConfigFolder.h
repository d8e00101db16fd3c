#pragma once
// A private settings folder for one test, so that no test sees another's
// save or the user's own, and a way to act as an ordinary player: the
// tests run as root, and root reads and writes through any permission.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace zw::reliability {

class ConfigFolder {
public:
    ConfigFolder()
    {
        // Reachable for the player "nobody" as well.
        ::chmod(QFile::encodeName(root_.path()).constData(), 0755);
        path_ = root_.path() + QStringLiteral("/config");
        ::mkdir(QFile::encodeName(path_).constData(), 0755);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path_));
    }
    ~ConfigFolder() { ::chmod(QFile::encodeName(path_).constData(), 0755); }

    QString root() const { return root_.path(); }
    QString path() const { return path_; }
    QString storeFile() const { return path_ + QStringLiteral("/Zigwalk_Korvel.conf"); }

private:
    QTemporaryDir root_;
    QString path_;
};

// The uid of the user "nobody", whom root turns into to meet permissions.
inline constexpr uid_t NobodyUid = 65534;

inline bool runningAsRoot() { return ::geteuid() == 0; }

// Root acts as "nobody" for the lifetime of this object; anyone else stays themselves.
class AsNobody {
public:
    AsNobody() : switched_(runningAsRoot() && ::seteuid(NobodyUid) == 0) {}
    ~AsNobody()
    {
        if (switched_)
            (void)::seteuid(0);
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

private:
    bool switched_;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace zw::reliability
