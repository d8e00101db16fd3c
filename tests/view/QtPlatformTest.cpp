// The real platform's own parts: files beside the program, upper-casing,
// message boxes, and the settings passing through to the store.

#include "platform/GameMessageBox.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace zw::platform {
namespace {

TEST(QtPlatform, FileExistsOnlyForOrdinaryVisibleFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"music.mid", ".music.mid"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MThd");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.mid")));

    QtPlatform platform;
    const std::pair<const char*, bool> cases[] = {
        {"music.mid", true},
        {".music.mid", false}, // hidden
        {"folder.mid", false}, // a directory
        {"missing.mid", false},
    };
    for (const auto& [name, exists] : cases)
        EXPECT_EQ(platform.fileExists(dir.filePath(QString::fromLatin1(name))), exists) << name;
}

TEST(QtPlatform, ProgramDirectoryIsWhereTheProgramLies)
{
    // The folder of the file this process runs, as the kernel names it, and
    // the same whatever the current folder is.
    const QFileInfo running(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QString started = QDir::currentPath();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    QtPlatform platform;
    const QString folder = platform.programDirectory();
    QDir::setCurrent(started);
    EXPECT_EQ(QFileInfo(folder).canonicalFilePath(), running.canonicalPath());
    EXPECT_TRUE(QFileInfo(folder + QLatin1Char('/') + running.fileName()).isFile());
    EXPECT_FALSE(folder.endsWith(QLatin1Char('/')));
}

TEST(QtPlatform, UpperCasesEveryLetter)
{
    QtPlatform platform;
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("red herrings"), QStringLiteral("RED HERRINGS")},
        {QStringLiteral("Quilt "), QStringLiteral("QUILT ")},
        {QStringLiteral("žluťoučký kůň"), QStringLiteral("ŽLUŤOUČKÝ KŮŇ")},
        {QStringLiteral("?5???"), QStringLiteral("?5???")},
        {QString(), QString()},
    };
    for (const auto& [text, upper] : cases)
        EXPECT_EQ(platform.toUpper(text), upper) << text.toStdString();
}

TEST(QtPlatform, SettingsGoToTheStoreAndBack)
{
    QtPlatform platform;
    const QString app = QStringLiteral("Zigwalk_Korvel_ViewTest");
    const QString section = QStringLiteral("SaveGame");
    EXPECT_EQ(platform.getSettings(app, section, {{QStringLiteral("Saw1"), QStringLiteral("1")}}).front(), QStringLiteral("1"));
    platform.saveSettings(app, section, {{QStringLiteral("Saw1"), QStringLiteral("7")},
                                         {QStringLiteral("Saw2"), QStringLiteral("15")}});
    EXPECT_EQ(platform.getSettings(app, section, {{QStringLiteral("Saw1"), QStringLiteral("1")}}).front(), QStringLiteral("7"));
    EXPECT_EQ(platform.getSettings(app, section, {{QStringLiteral("Saw2"), QStringLiteral("0")}}).front(), QStringLiteral("15"));
    EXPECT_EQ(platform.getSettings(app, section, {{QStringLiteral("Saw3"), QStringLiteral("1")}}).front(), QStringLiteral("1"));
}

TEST(GameMessageBox, StyleChoosesTheIcon)
{
    const std::pair<int, QMessageBox::Icon> cases[] = {
        {0, QMessageBox::NoIcon},     {16, QMessageBox::Critical},   {32, QMessageBox::Question},
        {48, QMessageBox::Warning},   {64, QMessageBox::Information}, {48 + 1, QMessageBox::Warning},
        {128, QMessageBox::NoIcon},
    };
    for (const auto& [style, icon] : cases)
        EXPECT_EQ(iconForStyle(style), icon) << style;
}

TEST(GameMessageBox, IsModalTitledZigwalkWithOneOkButton)
{
    const auto box = makeGameMessageBox(QStringLiteral("chyba"), QMessageBox::Warning);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Zigwalk"));
    EXPECT_EQ(box->text(), QStringLiteral("chyba"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
}

// The platform's box really opens (and is closed here from its own event
// loop), after telling the window to hold its timer.
TEST(QtPlatform, MessageBoxHoldsTheTimerFirstThenShowsTheBox)
{
    QtPlatform platform;
    QStringList order;
    platform.setBeforeMessageBox([&] { order << QStringLiteral("pause"); });
    QString shownTitle, shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        order << QStringLiteral("box");
        shownTitle = box->windowTitle();
        shownText = box->text();
        box->accept();
    });
    platform.messageBox(QStringLiteral("Uložená hra neexistuje"), 48);
    EXPECT_EQ(order, (QStringList{QStringLiteral("pause"), QStringLiteral("box")}));
    EXPECT_EQ(shownTitle, QStringLiteral("Zigwalk"));
    EXPECT_EQ(shownText, QStringLiteral("Uložená hra neexistuje"));
}

} // namespace
} // namespace zw::platform
