#pragma once
// The store file as the game left it, and the built-in game's section of it,
// so that a test of a player's levels can see the game's own progress kept
// byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zw::e2e {

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built-in game's section of the store, as its bytes stand.
inline QByteArray builtInSection(const QString& storeFile)
{
    const QByteArray all = fileBytes(storeFile);
    const qsizetype from = all.indexOf("[SaveGame]\n");
    if (from < 0)
        return {};
    const qsizetype next = all.indexOf("\n[", from + 1);
    return all.mid(from, next < 0 ? -1 : next - from); // up to the blank line between sections
}

} // namespace zw::e2e
