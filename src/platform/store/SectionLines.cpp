#include "platform/store/SectionLines.h"

#include <algorithm>

namespace zw::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isBreak(char c) { return c == '\n' || c == '\r'; }

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// One line: its text [begin, end) and its line break [end, next). A line
// ends at "\n", "\r\n" or "\r", whichever the file uses; the last line may
// have no break.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

Line lineAt(QByteArrayView file, qsizetype pos)
{
    Line line{pos, pos, pos};
    // A byte order mark is no part of the first line's text.
    if (pos == 0 && file.startsWith("\xEF\xBB\xBF"))
        line.begin = line.end = 3;
    while (line.end < file.size() && !isBreak(file[line.end]))
        ++line.end;
    line.next = line.end;
    if (line.next < file.size())
        line.next += file.sliced(line.next).startsWith("\r\n") ? 2 : 1;
    return line;
}

// The line ending a new line takes: the file's first one, or "\n".
QByteArray lineEndingOf(QByteArrayView file)
{
    for (qsizetype pos = 0; pos < file.size(); ++pos) {
        if (file[pos] == '\n')
            return QByteArrayLiteral("\n");
        if (file[pos] == '\r')
            return file.sliced(pos).startsWith("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\n");
}

// The key lines of every section of the name, and where a key the file
// lacks goes: after the last key line of the last such section, or after
// its "[...]" line when it has none.
struct KeyLine {
    QByteArrayView key;
    qsizetype valueBegin = 0; // the value, blanks around it left out
    qsizetype valueEnd = 0;
};

struct Section {
    std::vector<KeyLine> keys;
    qsizetype newKeysAt = -1; // -1: the file has no such section
};

Section findSection(QByteArrayView file, const QString& name)
{
    const QByteArray header = '[' + name.toUtf8() + ']';
    Section section;
    bool inside = false;
    for (qsizetype pos = 0; pos < file.size();) {
        const Line line = lineAt(file, pos);
        pos = line.next;
        const QByteArrayView text = file.sliced(line.begin, line.end - line.begin);
        const QByteArrayView content = trimmed(text);
        if (content.startsWith('[')) {
            inside = content == QByteArrayView(header);
            if (inside)
                section.newKeysAt = line.end;
            continue;
        }
        const qsizetype equals = text.indexOf('=');
        if (!inside || equals < 0)
            continue;
        KeyLine key{trimmed(text.first(equals)), line.begin + equals + 1, line.end};
        while (key.valueBegin < key.valueEnd && isBlank(file[key.valueBegin]))
            ++key.valueBegin;
        while (key.valueEnd > key.valueBegin && isBlank(file[key.valueEnd - 1]))
            --key.valueEnd;
        section.keys.push_back(key);
        section.newKeysAt = line.end;
    }
    return section;
}

QString valueText(QByteArrayView file, const KeyLine& line)
{
    QByteArrayView value = file.sliced(line.valueBegin, line.valueEnd - line.valueBegin);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.sliced(1, value.size() - 2);
    return QString::fromUtf8(value);
}

} // namespace

std::vector<QString> storedValues(QByteArrayView file, const QString& section, const KeyTexts& keysWithDefaults)
{
    const Section found = findSection(file, section);
    std::vector<QString> values;
    values.reserve(keysWithDefaults.size());
    for (const auto& [key, defaultText] : keysWithDefaults) {
        const QByteArray name = key.toUtf8();
        const auto last = std::find_if(found.keys.rbegin(), found.keys.rend(),
                                       [&](const KeyLine& line) { return line.key == QByteArrayView(name); });
        values.push_back(last == found.keys.rend() ? defaultText : valueText(file, *last));
    }
    return values;
}

std::vector<LineEdit> editsFor(QByteArrayView file, const QString& section, const KeyTexts& values)
{
    const Section found = findSection(file, section);
    const QByteArray lineEnd = lineEndingOf(file);

    // Where a key is given twice, the later text is the one saved.
    std::vector<std::pair<QByteArray, QByteArray>> wanted;
    for (const auto& [key, text] : values) {
        const QByteArray name = key.toUtf8();
        const auto same = std::find_if(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == name; });
        if (same != wanted.end())
            same->second = text.toUtf8();
        else
            wanted.emplace_back(name, text.toUtf8());
    }

    std::vector<LineEdit> edits;
    QByteArray newLines;
    for (const auto& [name, text] : wanted) {
        bool present = false;
        for (const KeyLine& line : found.keys) {
            if (line.key != QByteArrayView(name))
                continue;
            present = true;
            edits.push_back({line.valueBegin, line.valueEnd - line.valueBegin, text});
        }
        if (!present)
            newLines += lineEnd + name + '=' + text;
    }

    if (!newLines.isEmpty() && found.newKeysAt >= 0) {
        edits.push_back({found.newKeysAt, 0, newLines});
    } else if (!newLines.isEmpty()) {
        QByteArray block;
        if (!file.isEmpty() && !isBreak(file.back()))
            block += lineEnd;
        if (std::any_of(file.begin(), file.end(), [](char c) { return !isBreak(c) && !isBlank(c); }))
            block += lineEnd; // a blank line between sections
        block += '[' + section.toUtf8() + ']' + newLines + lineEnd;
        edits.push_back({file.size(), 0, block});
    }

    // A value edit and new lines can meet at the end of the last key line
    // (an empty value there): the value comes first.
    std::stable_sort(edits.begin(), edits.end(), [](const LineEdit& a, const LineEdit& b) { return a.at < b.at; });
    return edits;
}

QByteArray withEdits(QByteArrayView file, const std::vector<LineEdit>& edits)
{
    QByteArray result;
    qsizetype added = 0;
    for (const LineEdit& edit : edits)
        added += edit.text.size() - edit.length;
    result.reserve(file.size() + std::max<qsizetype>(added, 0));
    qsizetype kept = 0;
    for (const LineEdit& edit : edits) {
        result += file.sliced(kept, edit.at - kept);
        result += edit.text;
        kept = edit.at + edit.length;
    }
    result += file.sliced(kept);
    return result;
}

bool isStorableValue(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (std::any_of(bytes.begin(), bytes.end(), isBreak) || bytes != trimmed(bytes))
        return false;
    return !(bytes.size() >= 2 && bytes.front() == '"' && bytes.back() == '"')
        && QString::fromUtf8(bytes) == text;
}

} // namespace zw::platform
