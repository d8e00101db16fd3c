#pragma once
// The settings store's text as lines, and the game's own lines in it.
//
// Every value the game stores is a number it wrote itself, so the game owns
// very little of the file: in each "[Section]" line's section (up to the next
// "[...]" line), the lines "Key=value" of its keys. A save changes exactly
// the value bytes of those lines, adds a key the file lacks after the last
// key line of the section (in the file's own line ending), and adds a
// missing section at the end. Every other byte of the file, whatever it
// holds (other sections, comments, quotes, backslashes, bytes that are no
// text at all), stays where it was: nothing else is parsed, re-encoded,
// reordered or dropped.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <utility>
#include <vector>

namespace zw::platform {

// A key and the text it stands for: its default when read, its new value when saved.
using KeyTexts = std::vector<std::pair<QString, QString>>;

// The value of each key of section in file, in the order asked; the default
// given with it where no line of the section sets that key. Where a key has
// more than one line, the last one counts. A value is the text after '=',
// blanks and one pair of surrounding quotes taken off.
std::vector<QString> storedValues(QByteArrayView file, const QString& section, const KeyTexts& keysWithDefaults);

// One change a save makes to the file: bytes [at, at + length) give way to
// text. A change of length 0 inserts.
struct LineEdit {
    qsizetype at = 0;
    qsizetype length = 0;
    QByteArray text;
};

// The changes that set each key of section to its text, in file order.
// Values must read back as they are written: no line break, no blank at
// either end, not wrapped in quotes (isStorableValue); keys are plain names.
std::vector<LineEdit> editsFor(QByteArrayView file, const QString& section, const KeyTexts& values);

// file with the edits made.
QByteArray withEdits(QByteArrayView file, const std::vector<LineEdit>& edits);

// file with each key of section set to its text.
inline QByteArray withStoredValues(QByteArrayView file, const QString& section, const KeyTexts& values)
{
    return withEdits(file, editsFor(file, section, values));
}

// True for a text that a value line holds and gives back unchanged.
bool isStorableValue(const QString& text);

} // namespace zw::platform
