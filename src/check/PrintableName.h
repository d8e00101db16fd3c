#pragma once
// A name from the file system as a finding shows it: one line, whatever the
// name holds. Control characters (a newline, an escape that would drive the
// terminal) are written as \n, \t or \xNN, and bytes that were no valid
// UTF-8 (decoded to U+FFFD) as \ufffd; format characters that would turn
// the line round or hide part of it as \uNNNN.

#include <QString>

namespace zw::check {

inline QString printableName(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u == u'\\')
            out += QStringLiteral("\\\\");
        else if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else if (u == 0xFFFD)
            out += QStringLiteral("\\ufffd");
        else if (c.category() == QChar::Other_Format) // a right-to-left override, a zero-width mark
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace zw::check
