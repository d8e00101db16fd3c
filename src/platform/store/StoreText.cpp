#include "platform/store/StoreText.h"

#include <QByteArrayView>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <optional>

namespace zw::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

int hexValue(char c) { return hexValue(char16_t(uchar(c))); }
int octValue(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

// One line of the file as QSettings reads it: a line ends at a line break or
// at a ';' outside quotes (what follows is a comment); a backslash carries
// the character after it, a line break too, and quotes may span lines.
struct Line {
    qsizetype start = 0;   // its first byte, after leading white space
    qsizetype end = 0;     // one past its last byte
    qsizetype equals = -1; // its first '=' outside quotes, or -1
    bool unclosed = false; // a quote left open: the line runs to the end of the file
};

class Lines {
public:
    explicit Lines(QByteArrayView data) : data_(data)
    {
        // A byte order mark is no part of the first line.
        if (data_.startsWith("\xEF\xBB\xBF"))
            pos_ = 3;
    }

    std::optional<Line> next()
    {
        const qsizetype size = data_.size();
        for (;;) {
            while (pos_ < size && (isBlank(data_[pos_]) || isLineEnd(data_[pos_])))
                ++pos_;
            if (pos_ >= size)
                return std::nullopt;
            if (data_[pos_] != ';')
                break;
            while (pos_ < size && !isLineEnd(data_[pos_])) // a comment, to the end of its line
                ++pos_;
        }
        Line line;
        line.start = pos_;
        bool quoted = false;
        while (pos_ < size) {
            const char c = data_[pos_];
            if (c == '\\') {
                pos_ += 2;
                // Any of \n, \r, \r\n and \n\r ends a line, escaped or not.
                if (pos_ < size && isLineEnd(data_[pos_ - 1]) && isLineEnd(data_[pos_])
                    && data_[pos_ - 1] != data_[pos_])
                    ++pos_;
                continue;
            }
            if (c == '"')
                quoted = !quoted;
            else if (c == '=' && !quoted && line.equals < 0)
                line.equals = pos_;
            else if ((isLineEnd(c) || c == ';') && !quoted)
                break;
            ++pos_;
        }
        pos_ = std::min(pos_, size);
        line.end = pos_;
        line.unclosed = quoted;
        return line;
    }

private:
    QByteArrayView data_;
    qsizetype pos_ = 0;
};

// A key or section name as the file writes it: '\' stands for '/', and
// %XX or %UXXXX for a character by its code.
QString decodedName(QByteArrayView name)
{
    const QString text = QString::fromUtf8(name.trimmed());
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (c == u'%' && i + 1 < text.size()) {
            const bool wide = text.at(i + 1) == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            bool ok = first + digits <= text.size();
            char16_t code = 0;
            for (qsizetype d = 0; ok && d < digits; ++d) {
                const int h = hexValue(text.at(first + d).unicode());
                ok = h >= 0;
                code = char16_t(code * 16 + h);
            }
            if (ok) {
                result += QChar(code);
                i = first + digits;
                continue;
            }
        }
        result += c;
        ++i;
    }
    return result;
}

// The section a "[...]" line opens, as the prefix of its keys' full names:
// "SaveGame/"; the general section's keys have none.
QString sectionPrefix(QByteArrayView line)
{
    qsizetype close = line.indexOf(']');
    if (close < 0)
        close = line.size();
    const QByteArrayView name = line.sliced(1, close - 1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return {};
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.sliced(1)) + u'/';
    return decodedName(name) + u'/';
}

// A value as QSettings reads it: leading blanks skipped, quotes kept out,
// backslash escapes turned into their characters, trailing blanks of an
// unquoted value dropped; commas outside quotes make a list, which the game
// reads back joined by commas. Nothing for QSettings' own mark of no value.
std::optional<QString> decodedValue(QByteArrayView value)
{
    QStringList pieces;
    QString piece;
    QByteArray plain;   // bytes not yet decoded
    qsizetype kept = 0; // the part of piece that trailing blanks may not be cut from
    bool pieceQuoted = false;
    bool inQuotes = false;
    bool isList = false;
    const qsizetype size = value.size();
    qsizetype i = 0;

    const auto flush = [&] {
        piece += QString::fromUtf8(plain);
        plain.clear();
    };
    const auto skipBlanks = [&] {
        while (i < size && isBlank(value[i]))
            ++i;
    };
    const auto cutTrailingBlanks = [&] {
        if (pieceQuoted)
            return;
        while (piece.size() > kept && (piece.back() == u' ' || piece.back() == u'\t'))
            piece.chop(1);
    };

    skipBlanks();
    while (i < size) {
        const char c = value[i];
        if (c == '\\') {
            flush();
            if (++i >= size)
                break;
            const char e = value[i++];
            static constexpr char Simple[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                                                 {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                                                 {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
            const auto simple =
                std::find_if(std::begin(Simple), std::end(Simple), [e](const char* pair) { return pair[0] == e; });
            if (simple != std::end(Simple)) {
                piece += QLatin1Char((*simple)[1]);
            } else if (e == 'x' && i < size && hexValue(value[i]) >= 0) {
                char16_t code = 0;
                while (i < size && hexValue(value[i]) >= 0)
                    code = char16_t((code << 4) + hexValue(value[i++]));
                piece += QChar(code);
            } else if (octValue(e) >= 0) {
                char16_t code = char16_t(octValue(e));
                while (i < size && octValue(value[i]) >= 0)
                    code = char16_t((code << 3) + octValue(value[i++]));
                piece += QChar(code);
            } else if (isLineEnd(e)) {
                if (i < size && isLineEnd(value[i]) && value[i] != e)
                    ++i; // a line continued on the next
            } // any other escaped character is dropped
            kept = piece.size();
            continue;
        }
        if (c == '"') {
            flush();
            ++i;
            pieceQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                kept = piece.size();
            }
            continue;
        }
        if (c == ',' && !inQuotes) {
            flush();
            cutTrailingBlanks();
            isList = true;
            pieces.append(piece);
            piece.clear();
            pieceQuoted = false;
            kept = 0;
            ++i;
            skipBlanks();
            continue;
        }
        plain += c;
        ++i;
    }
    flush();
    cutTrailingBlanks();

    // A text that begins with '@' is written with a second one, as QSettings
    // keeps '@' for the names of its own types; one that holds a null
    // character is written inside "@String(...)".
    const auto unmarked = [](const QString& text) {
        if (text.startsWith(QLatin1String("@String(")) && text.endsWith(u')'))
            return text.sliced(8).chopped(1);
        return text.startsWith(QLatin1String("@@")) ? text.mid(1) : text;
    };
    if (isList) {
        pieces.append(piece);
        for (QString& p : pieces)
            p = unmarked(p);
        return pieces.join(u',');
    }
    if (piece == QLatin1String("@Invalid()"))
        return std::nullopt;
    return unmarked(piece);
}

// Where the next line begins after a line that ends at end: past the rest
// of its physical line (a comment, perhaps) and its line break.
qsizetype afterLine(QByteArrayView data, qsizetype end, bool* hasBreak)
{
    qsizetype p = end;
    while (p < data.size() && !isLineEnd(data[p]))
        ++p;
    *hasBreak = p < data.size();
    if (p < data.size() && data[p++] == '\r' && p < data.size() && data[p] == '\n')
        ++p;
    return p;
}

struct Parsed {
    struct KeyLine {
        QString fullName; // "SaveGame/Saw1"
        Line line;
    };
    std::vector<KeyLine> keys;
    // Where a new key of the section goes: after the last line of its last
    // block, or -1 where the file has no such section.
    qsizetype sectionEnd = -1;
    bool sectionEndHasBreak = true;
    // Where a line with a quote left open begins, or -1: it takes in the
    // rest of the file, and whatever a save wrote after it.
    qsizetype unclosedLine = -1;
};

Parsed parse(QByteArrayView data, const QString& section)
{
    Parsed parsed;
    const QString wanted = section + u'/';
    QString current;
    bool inWanted = false;
    Lines lines(data);
    while (const std::optional<Line> line = lines.next()) {
        const QByteArrayView text = data.sliced(line->start, line->end - line->start);
        if (text.startsWith('[')) {
            current = sectionPrefix(text);
            inWanted = current == wanted;
        } else if (line->equals >= 0) {
            parsed.keys.push_back({current + decodedName(data.sliced(line->start, line->equals - line->start)), *line});
        }
        if (inWanted)
            parsed.sectionEnd = afterLine(data, line->end, &parsed.sectionEndHasBreak);
        if (line->unclosed)
            parsed.unclosedLine = line->start;
    }
    return parsed;
}

QByteArrayView valueOf(QByteArrayView data, const Line& line)
{
    return data.sliced(line.equals + 1, line.end - line.equals - 1);
}

} // namespace

std::vector<QString> storedValues(const QByteArray& file, const QString& section, const KeyTexts& keysWithDefaults)
{
    const Parsed parsed = parse(file, section);
    std::vector<QString> values;
    values.reserve(keysWithDefaults.size());
    for (const auto& [key, defaultText] : keysWithDefaults) {
        const QString fullName = section + u'/' + key;
        std::optional<QString> value;
        for (const Parsed::KeyLine& found : parsed.keys) {
            if (found.fullName == fullName)
                value = decodedValue(valueOf(file, found.line));
        }
        values.push_back(value.value_or(defaultText));
    }
    return values;
}

QByteArray withStoredValues(const QByteArray& oldFile, const QString& section, const KeyTexts& values)
{
    // A damaged file can end in a quote that is never closed. Its last line
    // would swallow the new values, so that damaged line gives way to them.
    QByteArray file = oldFile;
    Parsed parsed = parse(file, section);
    if (parsed.unclosedLine >= 0) {
        file.truncate(parsed.unclosedLine);
        parsed = parse(file, section);
    }
    const QByteArray lineBreak = file.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");

    struct Edit {
        qsizetype at;
        qsizetype length;
        QByteArray bytes;
    };
    std::vector<Edit> edits;
    QByteArray missing; // lines of the keys the file does not have yet
    for (const auto& [key, text] : values) {
        const QString fullName = section + u'/' + key;
        bool found = false;
        for (const Parsed::KeyLine& line : parsed.keys) {
            if (line.fullName != fullName)
                continue;
            found = true;
            edits.push_back({line.line.equals + 1, line.line.end - line.line.equals - 1, encodedValue(text)});
        }
        if (!found) // the game's keys and section are plain letters and digits, written as they are
            missing += key.toUtf8() + '=' + encodedValue(text) + lineBreak;
    }

    if (!missing.isEmpty()) {
        if (parsed.sectionEnd >= 0) {
            edits.push_back({parsed.sectionEnd, 0, (parsed.sectionEndHasBreak ? QByteArray() : lineBreak) + missing});
        } else {
            QByteArray block;
            if (!file.isEmpty() && !isLineEnd(file.back()))
                block += lineBreak;
            if (!file.trimmed().isEmpty())
                block += lineBreak; // a blank line between sections
            block += '[' + section.toUtf8() + ']' + lineBreak + missing;
            edits.push_back({file.size(), 0, block});
        }
    }

    // From the end backwards, so that each edit's place is still where it was found.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at > b.at; });
    for (const Edit& edit : edits)
        file.replace(edit.at, edit.length, edit.bytes);

    // A file damaged past reading (a line broken by a stray backslash, say)
    // could still hide the new values: a save that would not read back as
    // written gives the game's section a file of its own.
    KeyTexts written;
    std::vector<QString> texts;
    for (const auto& [key, text] : values) {
        written.push_back({key, QString()});
        texts.push_back(text);
    }
    if (!oldFile.isEmpty() && storedValues(file, section, written) != texts)
        return withStoredValues({}, section, values);
    return file;
}

QByteArray encodedValue(const QString& text)
{
    const QString marked = text.contains(QChar::Null) ? QStringLiteral("@String(") + text + u')'
                           : text.startsWith(u'@')      ? u'@' + text
                                                        : text;
    QByteArray out;
    QString plain; // characters written as they are, in UTF-8
    bool quote = false;
    bool escapeHexDigit = false; // after \x.. or \0 a hex digit would run on into the escape
    const auto flush = [&] {
        out += plain.toUtf8();
        plain.clear();
    };
    for (const QChar qc : marked) {
        const char16_t c = qc.unicode();
        if (c == u';' || c == u',' || c == u'=')
            quote = true;
        if (escapeHexDigit && hexValue(c) >= 0) {
            flush();
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeHexDigit = false;
        const char* named = nullptr;
        switch (c) {
        case u'\0': named = "\\0"; escapeHexDigit = true; break;
        case u'\a': named = "\\a"; break;
        case u'\b': named = "\\b"; break;
        case u'\f': named = "\\f"; break;
        case u'\n': named = "\\n"; break;
        case u'\r': named = "\\r"; break;
        case u'\t': named = "\\t"; break;
        case u'\v': named = "\\v"; break;
        case u'"': named = "\\\""; break;
        case u'\\': named = "\\\\"; break;
        default: break;
        }
        if (named) {
            flush();
            out += named;
        } else if (c < 0x20) {
            flush();
            out += "\\x" + QByteArray::number(c, 16);
            escapeHexDigit = true;
        } else {
            plain += qc;
        }
    }
    flush();
    if (quote || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

} // namespace zw::platform
