#pragma once
// The text of the settings store's file, the INI dialect that Qt's QSettings
// writes: "[Section]" lines, "key=value" lines, values quoted and escaped
// where they hold separators or control characters, ';' comments. The game
// reads its values from the bytes it has already read and makes a save's new
// bytes by editing them: only the value of each key it saves changes, and
// every other section, key, comment and line of the file stays as it was,
// byte for byte.

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace zw::platform {

// A key and the text it stands for: its default when read, its new value when saved.
using KeyTexts = std::vector<std::pair<QString, QString>>;

// The value of each key of section in file, in the order asked; the default
// given with it where the file has no such key. Where a key appears more
// than once, its last line counts, as for QSettings.
std::vector<QString> storedValues(const QByteArray& file, const QString& section, const KeyTexts& keysWithDefaults);

// file with each key of section set to its text: a key's existing lines get
// the new value, a missing key a new line at the end of its section, and a
// missing section a new one at the end of the file.
QByteArray withStoredValues(const QByteArray& file, const QString& section, const KeyTexts& values);

// A text as a value in the file, quoted and escaped as QSettings would write it.
QByteArray encodedValue(const QString& text);

} // namespace zw::platform
