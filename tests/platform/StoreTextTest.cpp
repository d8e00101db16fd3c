// The store's file text, read and edited by the game itself: whatever Qt's
// QSettings wrote reads back the same, what the game writes QSettings reads
// back the same, and a save changes the game's values and nothing else.

#include "platform/store/StoreText.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::KeyTexts;
using platform::storedValues;
using platform::withStoredValues;

const QString Section = QStringLiteral("SaveGame");

// The texts a store may hold: the game's numbers, and what a hand, another
// locale or damage may put there.
const QStringList Texts = {"7", "1,5", "1.234568E+07", "1,234568E+07", " 7", "7 ", "", "@x", "@@x", "a;b",
                           "\"q\"", "x=y", "[SaveGame]", "back\\slash", "tab\there", "line\nbreak", "cr\rlf",
                           QStringLiteral("nul\0x"), "bell\a7", "Počet zabití", "日本", "😀", "-0", "1E+10", "#7", "\\x41",
                           "  both  ", ",", "a, b"};

QString quoted(const QString& text) { return QStringLiteral("[") + text + QStringLiteral("]"); }

class WithQSettings : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("store.conf"));

    QByteArray bytes() const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void setBytes(const QByteArray& b) const
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(b);
    }
    QString qsettingsValue(const QString& key) const
    {
        QSettings settings(file, QSettings::IniFormat);
        const QVariant value = settings.value(Section + QLatin1Char('/') + key);
        return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                        : value.toString();
    }
};

// A file that the game of before, which saved through QSettings, wrote.
TEST_F(WithQSettings, WhatQSettingsWroteReadsBackTheSame)
{
    for (const QString& text : Texts) {
        file = dir.filePath(QStringLiteral("store-%1.conf").arg(Texts.indexOf(text)));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Other/Key"), QStringLiteral("kept"));
            settings.setValue(Section + QStringLiteral("/Saw1"), text);
            settings.setValue(Section + QStringLiteral("/Saw2"), text + text);
        }
        const std::vector<QString> read = storedValues(bytes(), Section, {{"Saw1", "?"}, {"Saw2", "?"}, {"Saw3", "def"}});
        EXPECT_EQ(quoted(read.at(0)), quoted(text)) << "file: " << bytes().toStdString();
        EXPECT_EQ(quoted(read.at(1)), quoted(text + text)) << "file: " << bytes().toStdString();
        EXPECT_EQ(read.at(2), "def");
    }
}

// What the game writes, QSettings (and so any older copy of the game) reads
// back the same, and so does the game.
TEST_F(WithQSettings, WhatTheGameWritesQSettingsReadsTheSame)
{
    for (const QString& text : Texts) {
        // QSettings keeps what it read of a file by name; a new name for each.
        file = dir.filePath(QStringLiteral("store-%1.conf").arg(Texts.indexOf(text)));
        setBytes(withStoredValues({}, Section, {{"Saw1", text}, {"Saw2", text + text}}));
        EXPECT_EQ(quoted(qsettingsValue("Saw1")), quoted(text)) << "file: " << bytes().toStdString();
        EXPECT_EQ(quoted(qsettingsValue("Saw2")), quoted(text + text)) << "file: " << bytes().toStdString();
        const std::vector<QString> read = storedValues(bytes(), Section, {{"Saw1", "?"}, {"Saw2", "?"}});
        EXPECT_EQ(quoted(read.at(0)), quoted(text));
        EXPECT_EQ(quoted(read.at(1)), quoted(text + text));
    }
}

// Written by hand, in the forms QSettings accepts.
TEST(StoreText, HandWrittenFormsReadAsQSettingsReadsThem)
{
    const struct {
        const char* file;
        const char* saw1;
    } cases[] = {
        {"[SaveGame]\nSaw1=3\n", "3"},
        {"[SaveGame]\r\nSaw1=3\r\n", "3"},
        {"\xEF\xBB\xBF[SaveGame]\nSaw1=3", "3"},
        {"  [ SaveGame ]  \n  Saw1  =  3  \n", "3"},
        {"[SaveGame]\nSaw1=3 ; a comment\n", "3"},
        {"[SaveGame]\n; Saw1=9\nSaw1=3\n", "3"},
        {"[SaveGame]\nSaw1=9\nSaw1=3\n", "3"},        // the last line counts
        {"[SaveGame]\nSaw1=9\n[Other]\nSaw1=5\n[SaveGame]\nSaw1=3\n", "3"},
        {"[Save%47ame]\nSaw%31=3\n", "3"},             // names escaped by their codes
        {"[General]\nSaveGame\\Saw1=3\n", "3"},       // the section as part of the key
        {"[SaveGame]\nSaw1=\"3\"\n", "3"},
        {"[SaveGame]\nSaw1=1, 5\n", "1,5"},           // a list, read joined
        {"[SaveGame]\nSaw1=\\x33\n", "3"},
        {"[SaveGame]\nSaw1=\\063\n", "3"},
        {"[SaveGame]\nSaw1=1\\\n2\n", "12"},          // a line continued
        {"[SaveGame]\nSaw1=\"a\nb\"\n", "a\nb"},      // quotes span lines
        {"[SaveGame]\nSaw1=@@7\n", "@7"},
        {"[SaveGame]\nSaw1=@Invalid()\n", "missing"}, // QSettings' mark of no value
        {"[savegame]\nSaw1=3\n", "missing"},          // names are told apart by case
        {"[SaveGame]\nsaw1=3\n", "missing"},
        {"Saw1=3\n", "missing"},
        {"[SaveGame\nSaw1=3\n", "3"},                 // an unclosed bracket still opens the section
        {"", "missing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storedValues(c.file, Section, {{"Saw1", "missing"}}).front(), QString::fromUtf8(c.saw1)) << c.file;
}

// A save changes the values of the game's keys and nothing else: every
// other section, key, comment, blank line and line ending stays byte for byte.
TEST(StoreText, ASaveTouchesOnlyTheGamesValues)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        // the file of today's game
        {"[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n", "[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        // nothing yet
        {"", "[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        // other sections and comments around it
        {"; my notes\n[Window]\nx=10\n\n[SaveGame]\nSaw2=0 ; deaths\nSaw1=3\nSaw3=3\nSaw4=0\n\n[Z]\nk = v\n",
         "; my notes\n[Window]\nx=10\n\n[SaveGame]\nSaw2=1; deaths\nSaw1=4\nSaw3=5\nSaw4=1\n\n[Z]\nk = v\n"},
        // keys missing from the section go at its end, before the next section
        {"[SaveGame]\nSaw1=3\nMine=yes\n\n[Z]\nk=v\n", "[SaveGame]\nSaw1=4\nMine=yes\nSaw2=1\nSaw3=5\nSaw4=1\n\n[Z]\nk=v\n"},
        // no section of the game's: a new one at the end
        {"[Z]\nk=v", "[Z]\nk=v\n\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        // Windows line endings stay
        {"[SaveGame]\r\nSaw1=3\r\n", "[SaveGame]\r\nSaw1=4\r\nSaw2=1\r\nSaw3=5\r\nSaw4=1\r\n"},
        // a line that never closes its quote gives way, the rest stays
        {"[Z]\nk=v\n[SaveGame]\nSaw1=\"3\n", "[Z]\nk=v\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
    };
    const KeyTexts save = {{"Saw1", "4"}, {"Saw2", "1"}, {"Saw3", "5"}, {"Saw4", "1"}};
    for (const auto& c : cases)
        EXPECT_EQ(withStoredValues(c.before, Section, save).toStdString(), std::string(c.after)) << c.before;
}

// Whatever damage the file holds, the values a save writes are the values
// the next load reads.
TEST(StoreText, ASaveIntoDamageReadsBackAsWritten)
{
    const QByteArray damaged[] = {
        "[SaveGame]\nSaw1=3\\",        // a backslash at the very end
        "[SaveGame]\nSaw4=\"\n",        // an unclosed quote
        "[SaveGame\n\"\n[SaveGame]\n",  // quotes around the section
        QByteArray("\0\xff\xfe[SaveGame]\n\0=\0", 15),
        "====\n[[[[\n]]]]\n;;;;\n\\\\\\\\",
    };
    const KeyTexts save = {{"Saw1", "4"}, {"Saw2", "1"}, {"Saw3", "5"}, {"Saw4", "1"}};
    for (const QByteArray& before : damaged) {
        const QByteArray after = withStoredValues(before, Section, save);
        EXPECT_EQ(storedValues(after, Section, {{"Saw1", "?"}, {"Saw2", "?"}, {"Saw3", "?"}, {"Saw4", "?"}}),
                  (std::vector<QString>{"4", "1", "5", "1"}))
            << "before: " << before.toStdString() << "\nafter: " << after.toStdString();
    }
}

} // namespace
} // namespace zw::test
