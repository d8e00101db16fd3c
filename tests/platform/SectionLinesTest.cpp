// The store's text as lines: the game finds its values in the lines of its
// own section, and a save changes the value bytes of those lines, adds what
// is missing, and leaves every other byte of the file as it was.

#include "platform/store/SectionLines.h"

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
const KeyTexts Save = {{"Saw1", "4"}, {"Saw2", "1"}, {"Saw3", "5"}, {"Saw4", "1"}};

QString saw1(const QByteArray& file) { return storedValues(file, Section, {{"Saw1", "missing"}}).front(); }

TEST(SectionLines, TheGamesValueIsTheTextOfItsLastLineInItsSection)
{
    const struct {
        QByteArray file;
        const char* saw1;
    } cases[] = {
        {"[SaveGame]\nSaw1=3\n", "3"},
        {"[SaveGame]\r\nSaw1=3\r\n", "3"},
        {"[SaveGame]\rSaw1=3", "3"},                      // old Mac line ends
        {"\xEF\xBB\xBF[SaveGame]\nSaw1=3", "3"},          // a byte order mark
        {"  [SaveGame]\t\n  Saw1  =  3  \n", "3"},        // blanks around
        {"[SaveGame]\nSaw1=\"3\"\n", "3"},                // one pair of quotes
        {"[SaveGame]\nSaw1=\"\"3\"\"\n", "\"3\""},        // only one
        {"[SaveGame]\nSaw1=\"3\n", "\"3"},                // a lone quote is text
        {"[SaveGame]\nSaw1=\n", ""},                      // empty, not missing
        {"[SaveGame]\nSaw1=9\nSaw1=3\n", "3"},            // the last line counts
        {"[SaveGame]\nSaw1=9\n[Other]\nSaw1=5\n[SaveGame]\nSaw1=3\n[Z]\n", "3"},
        {"[SaveGame]\nSaw1=3\n[Other]\nSaw1=5\n", "3"},
        {"[SaveGame]\n; Saw1=9\nSaw1=3\n", "3"},          // a comment line is no key line
        {"[M]\nlabel=27\" monitor\n[SaveGame]\nSaw1=7\n", "7"}, // a quote elsewhere hides nothing
        {"[P]\npath=C:\\Games\\\n[SaveGame]\nSaw1=7", "7"},    // nor does a backslash
        {"[SaveGame]\nSaw1=3\\\nSaw1=4\n", "4"},
        {"[savegame]\nSaw1=3\n", "missing"},              // names are told apart by case
        {"[SaveGame]\nsaw1=3\n", "missing"},
        {"Saw1=3\n[SaveGame]\n", "missing"},
        {"[SaveGame\nSaw1=3\n", "missing"},               // not the game's section
        {"[SaveGame] x\nSaw1=3\n", "missing"},
        {"[SaveGame]\n[SaveGame-0123456789abcdef]\nSaw1=3\n", "missing"},
        {"", "missing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(saw1(c.file), QString::fromUtf8(c.saw1)) << c.file.toStdString();
}

// A save changes the values of the game's key lines and nothing else:
// every other section, key, comment, blank line, quote, backslash and line
// ending stays byte for byte, damaged or not.
TEST(SectionLines, ASaveChangesOnlyTheGamesValues)
{
    const struct {
        const char* name;
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"the file of today's game", "[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n",
         "[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"nothing yet", "", "[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"cut short on an empty value, a key missing",
         "[Audio]\r\nvolume=80\r\n\r\n[SaveGame]\r\nSaw1=5\r\nSaw2=",
         "[Audio]\r\nvolume=80\r\n\r\n[SaveGame]\r\nSaw1=4\r\nSaw2=1\r\nSaw3=5\r\nSaw4=1"},
        {"a backslash ends the section's last line", "[Paths]\nx=1\n[SaveGame]\nSaw1=2\nmypath=C:\\Games\\",
         "[Paths]\nx=1\n[SaveGame]\nSaw1=4\nmypath=C:\\Games\\\nSaw2=1\nSaw3=5\nSaw4=1"},
        {"a backslash after the section's name", "[Audio]\nvolume=80\n[SaveGame]\\",
         "[Audio]\nvolume=80\n[SaveGame]\\\n\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"old Mac line ends after a backslash", "[Audio]\rvolume=80\rpath=C:\\\r",
         "[Audio]\rvolume=80\rpath=C:\\\r\r[SaveGame]\rSaw1=4\rSaw2=1\rSaw3=5\rSaw4=1\r"},
        {"an unbalanced quote", "[Monitor]\nlabel=27\" monitor\n[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n[After]\nk=v\n",
         "[Monitor]\nlabel=27\" monitor\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n[After]\nk=v\n"},
        {"comments and sections around",
         "; my notes\n[Window]\nx=10\n\n[SaveGame]\nSaw2=0\nSaw1=3\nSaw3=3\nSaw4=0\n\n[Z]\nk = v\n",
         "; my notes\n[Window]\nx=10\n\n[SaveGame]\nSaw2=1\nSaw1=4\nSaw3=5\nSaw4=1\n\n[Z]\nk = v\n"},
        {"missing keys after the section's last key line", "[SaveGame]\nSaw1=3\nMine=yes\n\n; end\n[Z]\nk=v\n",
         "[SaveGame]\nSaw1=4\nMine=yes\nSaw2=1\nSaw3=5\nSaw4=1\n\n; end\n[Z]\nk=v\n"},
        {"no section of the game's", "[Z]\nk=v", "[Z]\nk=v\n\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"Windows line ends", "[SaveGame]\r\nSaw1=3\r\n", "[SaveGame]\r\nSaw1=4\r\nSaw2=1\r\nSaw3=5\r\nSaw4=1\r\n"},
        {"blanks and quotes around a value", "[SaveGame]\n  Saw1 = \"3\"  \n",
         "[SaveGame]\n  Saw1 = 4  \nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"every line of every section of the game's",
         "[SaveGame]\nSaw1=3\nSaw2=9\n[Z]\nk=v\n[SaveGame]\nSaw1=3\n",
         "[SaveGame]\nSaw1=4\nSaw2=1\n[Z]\nk=v\n[SaveGame]\nSaw1=4\nSaw3=5\nSaw4=1\n"},
        {"the section's name alone, at the end", "[SaveGame]", "[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1"},
        {"a byte order mark", "\xEF\xBB\xBF[SaveGame]\nSaw1=3\n", "\xEF\xBB\xBF[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"what QSettings writes for other values",
         "[Other]\nk=\"a;b\\\\c\" ; note\n%U0041=@ByteArray(x)\nl=1, 2\n\n[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n",
         "[Other]\nk=\"a;b\\\\c\" ; note\n%U0041=@ByteArray(x)\nl=1, 2\n\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n"},
        {"bytes that are no text", QByteArray("\0\xff\xfe[x]\n\0=\0", 10),
         QByteArray("\0\xff\xfe[x]\n\0=\0\n\n[SaveGame]\nSaw1=4\nSaw2=1\nSaw3=5\nSaw4=1\n", 51)},
        {"a lone carriage return inside", "[SaveGame]\nSaw1=3\rSaw2=0\n",
         "[SaveGame]\nSaw1=4\rSaw2=1\nSaw3=5\nSaw4=1\n"},
    };
    for (const auto& c : cases) {
        const QByteArray after = withStoredValues(c.before, Section, Save);
        EXPECT_EQ(after.toStdString(), c.after.toStdString()) << c.name;
        // Whatever it was, it now reads as saved, and saving again changes nothing.
        EXPECT_EQ(storedValues(after, Section, {{"Saw1", "?"}, {"Saw2", "?"}, {"Saw3", "?"}, {"Saw4", "?"}}),
                  (std::vector<QString>{"4", "1", "5", "1"})) << c.name;
        EXPECT_EQ(withStoredValues(after, Section, Save), after) << c.name;
    }
}

TEST(SectionLines, AFolderSectionLeavesTheBuiltInSectionAlone)
{
    const QByteArray before = "[SaveGame]\r\nSaw1=7\r\nSaw2=3\r\nSaw3=10\r\nSaw4=3\r\n";
    const QByteArray after = withStoredValues(before, QStringLiteral("SaveGame-0123456789abcdef"), Save);
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_EQ(after.sliced(before.size()), "\r\n[SaveGame-0123456789abcdef]\r\nSaw1=4\r\nSaw2=1\r\nSaw3=5\r\nSaw4=1\r\n");
    EXPECT_EQ(saw1(after), "7");
}

TEST(SectionLines, OnlyTextsThatReadBackAsWrittenAreStorable)
{
    for (const char* text : {"7", "0", "1,5", "1.234568E+07", "-3", "a\"b", "\"x", "Počet"})
        EXPECT_TRUE(platform::isStorableValue(QString::fromUtf8(text))) << text;
    for (const char* text : {" 7", "7 ", "\t7", "\"7\"", "\"\"", "7\n", "7\r8"})
        EXPECT_FALSE(platform::isStorableValue(QString::fromUtf8(text))) << text;
}

// Earlier copies of the game saved through QSettings, and a player's file
// may still be read by it: the numbers the game stores go both ways.
class WithQSettings : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("store.conf"));

    QByteArray bytes() const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const QStringList Numbers = {"7", "0", "15", "1,5", "1.234568E+07", "1,234568E+07", "-0", "16777216"};

TEST_F(WithQSettings, WhatQSettingsWroteReadsBackTheSame)
{
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Other/Key"), QStringLiteral("kept; \"odd\" \\ value"));
        for (int i = 0; i < Numbers.size(); ++i)
            settings.setValue(Section + QStringLiteral("/Saw%1").arg(i), Numbers[i]);
    }
    for (int i = 0; i < Numbers.size(); ++i)
        EXPECT_EQ(storedValues(bytes(), Section, {{QStringLiteral("Saw%1").arg(i), "?"}}).front(), Numbers[i])
            << bytes().toStdString();
}

TEST_F(WithQSettings, WhatTheGameWritesQSettingsReadsTheSame)
{
    KeyTexts values;
    for (int i = 0; i < Numbers.size(); ++i)
        values.push_back({QStringLiteral("Saw%1").arg(i), Numbers[i]});
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(withStoredValues("[Other]\nKey=kept\n", Section, values));
    out.close();
    QSettings settings(file, QSettings::IniFormat);
    for (int i = 0; i < Numbers.size(); ++i) {
        const QVariant value = settings.value(Section + QStringLiteral("/Saw%1").arg(i));
        const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',') : value.toString();
        EXPECT_EQ(text, Numbers[i]) << bytes().toStdString();
    }
    EXPECT_EQ(settings.value(QStringLiteral("Other/Key")).toString(), "kept");
}

} // namespace
} // namespace zw::test
