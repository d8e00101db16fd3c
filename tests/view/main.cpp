// The window tests run on Qt's offscreen platform with their own settings
// directory, so they need no display and leave the player's saves alone.

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zigwalk"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
