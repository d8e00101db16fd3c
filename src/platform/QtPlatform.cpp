#include "platform/QtPlatform.h"

#include "platform/GameMessageBox.h"
#include "platform/Shell.h"
#include "platform/store/StorePath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <cstdlib>

namespace zw::platform {

QtPlatform::QtPlatform() : sound_(QCoreApplication::applicationDirPath()) {}

QtPlatform::~QtPlatform() = default;

std::vector<QString> QtPlatform::getSettings(const QString& app, const QString& section,
                                             const std::vector<std::pair<QString, QString>>& keysWithDefaults)
{
    return SettingsStore(storePathOf(app)).readAll(section, keysWithDefaults);
}

void QtPlatform::saveSettings(const QString& app, const QString& section,
                              const std::vector<std::pair<QString, QString>>& values)
{
    SettingsStore(storePathOf(app)).writeAll(section, values);
}

void QtPlatform::messageBox(const QString& prompt, int style)
{
    if (beforeBox_)
        beforeBox_();
    showGameMessageBox(prompt, iconForStyle(style));
}

void QtPlatform::beep()
{
    sound_.beep();
}

void QtPlatform::endProgram()
{
    // At once: no more events, no window teardown, no further handler. Saved
    // progress is already on disk (every save is synced as it is written).
    std::quick_exit(0);
}

void QtPlatform::mciExecute(const QString& command)
{
    sound_.mciExecute(command);
}

void QtPlatform::shellOpen(const QString& url)
{
    openInBrowser(url);
}

QString QtPlatform::programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

bool QtPlatform::fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QString QtPlatform::toUpper(const QString& text)
{
    return QLocale().toUpper(text);
}

} // namespace zw::platform
