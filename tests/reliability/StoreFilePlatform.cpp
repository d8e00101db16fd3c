#include "StoreFilePlatform.h"

#include "base/RuntimeError.h"
#include "platform/sound/Sound.h"

#include <QFileInfo>
#include <QLocale>

namespace zw::reliability {

std::vector<QString> StoreFilePlatform::getSettings(const QString& app, const QString& section,
                                                    const SavedValues& keysWithDefaults)
{
    return platform::SettingsStore(platform::storePathOf(app)).readAll(section, keysWithDefaults);
}

void StoreFilePlatform::saveSettings(const QString& app, const QString& section, const SavedValues& values)
{
    if (beforeSave)
        beforeSave(values);
    try {
        platform::SettingsStore(platform::storePathOf(app)).writeAll(section, values);
    } catch (const RuntimeError&) {
        ++failedSaves;
        if (afterSave)
            afterSave(false);
        throw;
    }
    ++saves;
    if (afterSave)
        afterSave(true);
}

void StoreFilePlatform::beep()
{
    ++beeps;
    if (sound_)
        sound_->beep();
}

void StoreFilePlatform::mciExecute(const QString& command)
{
    if (sound_)
        sound_->mciExecute(command);
}

bool StoreFilePlatform::fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QString StoreFilePlatform::toUpper(const QString& text)
{
    return QLocale().toUpper(text);
}

} // namespace zw::reliability
