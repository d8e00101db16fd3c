#include "TestPlatform.h"

#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"

#include <QFileInfo>
#include <QLocale>

namespace zw::test {

void TestPlatform::checkAddress(const QString& app, const QString& section)
{
    if (recordCalls)
        settingsApps << app;
    if (!wrongAddress && (app != QLatin1String("Zigwalk_Korvel") || section != QLatin1String("SaveGame")))
        wrongAddress = "settings addressed to " + app.toStdString() + "/" + section.toStdString();
}

std::vector<QString> TestPlatform::getSettings(const QString& app, const QString& section,
                                               const SavedValues& keysWithDefaults)
{
    checkAddress(app, section);
    ++loads;
    if (unreadableStore)
        throw UnreadableStore();
    if (storeIn == Store::OnDisk)
        return platform::SettingsStore(platform::storePathOf(app)).readAll(section, keysWithDefaults);
    std::vector<QString> values;
    for (const auto& [key, defaultText] : keysWithDefaults)
        values.push_back(storeIn == Store::InMemory ? settings.value(section + QLatin1Char('/') + key, defaultText)
                                                    : defaultText);
    return values;
}

void TestPlatform::saveSettings(const QString& app, const QString& section, const SavedValues& values)
{
    checkAddress(app, section);
    note(QStringLiteral("save"));
    if (beforeSave)
        beforeSave(values);
    try {
        if (failSaves)
            throw RuntimeError(75, "Path/File access error");
        if (storeIn == Store::OnDisk)
            platform::SettingsStore(platform::storePathOf(app)).writeAll(section, values);
    } catch (const RuntimeError&) {
        ++failedSaves;
        if (afterSave)
            afterSave(values, false);
        throw;
    }
    if (storeIn == Store::InMemory)
        for (const auto& [key, value] : values)
            settings[section + QLatin1Char('/') + key] = value;
    ++saves;
    if (afterSave)
        afterSave(values, true);
}

void TestPlatform::messageBox(const QString& prompt, int style)
{
    note(QStringLiteral("box"));
    boxes.append({prompt, style});
}

void TestPlatform::beep()
{
    note(QStringLiteral("beep"));
    ++beeps;
    if (onBeep)
        onBeep();
}

void TestPlatform::endProgram()
{
    note(QStringLiteral("end"));
    ++ends;
}

void TestPlatform::mciExecute(const QString& command)
{
    ++mediaCommands;
    if (recordCalls) {
        log << QStringLiteral("mci:") + command;
        mci << command;
    }
    if (onMediaCommand)
        onMediaCommand(command);
}

void TestPlatform::shellOpen(const QString& url)
{
    ++pagesOpened;
    if (recordCalls) {
        log << QStringLiteral("open:") + url;
        opened << url;
    }
}

QString TestPlatform::programDirectory()
{
    if (directoryFails)
        throw RuntimeError(52, "Bad file name or number");
    return programDir;
}

bool TestPlatform::fileExists(const QString& path)
{
    if (!realFiles)
        return files.contains(path);
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QString TestPlatform::toUpper(const QString& text)
{
    switch (casing) {
    case Casing::Plain:
        return text.toUpper();
    case Casing::Locale:
        return QLocale().toUpper(text);
    case Casing::Turkish:
        break;
    }
    QString dotted = text;
    dotted.replace(QLatin1Char('i'), QChar(0x0130));
    return dotted.toUpper();
}

} // namespace zw::test
