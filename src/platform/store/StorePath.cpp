#include "platform/store/StorePath.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
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

} // namespace

QString storePathOf(const QString& app)
{
    const QString folder = configFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + app + QStringLiteral(".conf");
}

} // namespace zw::platform
