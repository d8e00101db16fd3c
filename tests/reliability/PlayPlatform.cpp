#include "PlayPlatform.h"

#include "base/RuntimeError.h"

namespace zw::reliability {

void PlayPlatform::checkAddress(const QString& app, const QString& section)
{
    if (!wrongAddress && (app != QLatin1String("Zigwalk_Korvel") || section != QLatin1String("SaveGame")))
        wrongAddress = "settings addressed to " + app.toStdString() + "/" + section.toStdString();
}

std::vector<QString> PlayPlatform::getSettings(const QString& app, const QString& section,
                                               const SavedValues& keysWithDefaults)
{
    checkAddress(app, section);
    std::vector<QString> values;
    for (const auto& [key, defaultText] : keysWithDefaults) {
        const auto found = store.find(section + QLatin1Char('/') + key);
        values.push_back(found == store.end() ? defaultText : found->second);
    }
    return values;
}

void PlayPlatform::saveSettings(const QString& app, const QString& section, const SavedValues& values)
{
    checkAddress(app, section);
    if (storeFails) {
        ++failedSaves;
        throw RuntimeError(75, "Path/File access error");
    }
    ++saves;
    for (const auto& [key, text] : values)
        store[section + QLatin1Char('/') + key] = text;
    if (onSaved)
        onSaved(values);
}

} // namespace zw::reliability
