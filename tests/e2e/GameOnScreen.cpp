#include "GameOnScreen.h"

#include "MazePath.h"

#include "assets/PictureStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace zw::e2e {

namespace {

QString standInFolder(const QString& home)
{
    return home + QStringLiteral("/bin");
}

} // namespace

QString gameProgram()
{
    return QStringLiteral(ZIGWALK_PROGRAM);
}

QRgb rgbOf(Colour key)
{
    return qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
}

QImage picture(const QString& name)
{
    return PictureStore::loadBuiltIn(name).convertToFormat(QImage::Format_RGB32);
}

GameHome::GameHome()
{
    QDir().mkpath(standInFolder(path()));
    QFile browser(standInFolder(path()) + QStringLiteral("/xdg-open"));
    if (browser.open(QIODevice::WriteOnly)) {
        browser.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + QFile::encodeName(openedFile()) + "'\n");
        browser.close();
        browser.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                               | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    // A sound client that finds no server would otherwise start one itself.
    QFile soundClient(path() + QStringLiteral("/pulse-client.conf"));
    if (soundClient.open(QIODevice::WriteOnly))
        soundClient.write("autospawn = no\n");
}

QString GameHome::storeFile() const
{
    return path() + QStringLiteral("/config/Zigwalk_Korvel.conf");
}

QString GameHome::openedFile() const
{
    return path() + QStringLiteral("/opened.txt");
}

QStringList GameHome::opened() const
{
    QFile file(openedFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

RunningGame::RunningGame(const XSession& x, const GameHome& home, const QStringList& command,
                         const QProcessEnvironment& extra, const QString& workingDirectory)
{
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("PATH"), standInFolder(home.path()) + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
    for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR"})
        env.remove(QString::fromLatin1(scaling));
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), home.path() + QStringLiteral("/pulse-client.conf"));
    for (const QString& name : extra.keys())
        env.insert(name, extra.value(name));
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!workingDirectory.isEmpty())
        process_.setWorkingDirectory(workingDirectory);
    process_.start(command.value(0), command.mid(1));
}

bool RunningGame::alive()
{
    // Without an event loop the process's state is only learnt by waiting.
    return process_.waitForStarted(StepTimeoutMs) && !process_.waitForFinished(0);
}

RunningGame::~RunningGame()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

void GameScreenTest::SetUp()
{
    const QStringList missing = missingTools();
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(QStringLiteral(", ")).toStdString();
}

GameScreenTest::Refusal GameScreenTest::startRefused(const GameHome& home, const QStringList& args) const
{
    Refusal result;
    QProcess refused;
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    refused.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    refused.start(gameProgram(), args);
    if (!refused.waitForStarted(StepTimeoutMs))
        return result;
    QStringList boxes;
    result.boxShown = waitUntil([&] { return !(boxes = x.windowsNamed(QStringLiteral("Zigwalk"))).isEmpty(); }, 60000);
    result.boxAfterMs = clock.elapsed();
    if (result.boxShown) {
        result.shot = x.screen();
        x.xdotool({QStringLiteral("windowfocus"), boxes.front()});
        x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }
    result.ended = refused.waitForFinished(StepTimeoutMs);
    if (!result.ended) {
        refused.kill();
        refused.waitForFinished(StepTimeoutMs);
    }
    result.exitCode = refused.exitCode();
    result.stderrText = QString::fromLocal8Bit(refused.readAllStandardError());
    return result;
}

bool GameScreenTest::findWindow()
{
    return waitUntil(
        [&] {
            for (const QString& candidate : x.windowsNamed(windowTitle)) {
                const auto geometry = x.windowGeometry(candidate);
                if (geometry && geometry->size() == QSize(640, 496)) {
                    windowId = candidate;
                    window = *geometry;
                    return true;
                }
            }
            return false;
        },
        StepTimeoutMs);
}

int GameScreenTest::differences(const QImage& shown, const QImage& expected)
{
    if (shown.size() != QSize(640, 496))
        return -1;
    int wrong = 0;
    for (int y = 0; y < 480; y += 5)
        for (int x = 0; x < 640; x += 5) {
            const QRgb s = shown.pixel(x, y) & 0xFFFFFF;
            if (s != (expected.pixel(x, y) & 0xFFFFFF) && s != (Yellow & 0xFFFFFF))
                ++wrong;
        }
    return wrong;
}

bool GameScreenTest::showsPicture(const QImage& expected, int timeoutMs) const
{
    return waitUntil([&] { return differences(client(), expected) == 0; }, timeoutMs);
}

bool GameScreenTest::frameRestsInCentre() const
{
    return waitUntil(
        [&] {
            const QImage now = client();
            return now.pixel(320, 240) == Yellow && now.pixel(600, 494) != Yellow && now.pixel(638, 488) != Yellow;
        },
        StepTimeoutMs);
}

std::vector<QPoint> GameScreenTest::onScreen(const std::vector<QPoint>& inWindow) const
{
    std::vector<QPoint> points;
    for (QPoint p : inWindow)
        points.push_back(onScreen(p));
    return points;
}

void GameScreenTest::pressAt(QPoint inWindow) const
{
    x.moveTo(onScreen(inWindow));
    x.buttonDown();
    x.buttonUp();
}

bool GameScreenTest::walkToGoalOf(const QImage& shown) const
{
    const auto start = centreOf(shown, rgbOf(ColorStart));
    const auto goal = centreOf(shown, rgbOf(ColorGoal));
    if (!start || !goal)
        return false;
    const auto route = findWidestRoute(shown, *start, {rgbOf(ColorInfo), rgbOf(ColorStart), rgbOf(ColorGoal)},
                                       [&](QPoint p) { return p == *goal; });
    if (!route)
        return false;
    x.moveTo(onScreen(*start));
    x.buttonDown();
    x.moveAlong(onScreen(everyNth(*route, 4)));
    x.buttonUp();
    return true;
}

} // namespace zw::e2e
