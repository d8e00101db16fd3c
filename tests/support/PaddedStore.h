#pragma once
// A store a player has filled to a given size: the lines given first, then a
// section of padding up to exactly `size` bytes. At the game's size limit, a
// save that adds one digit to the lines would push it past.

#include <QByteArray>

namespace zw::test {

inline QByteArray paddedStore(const QByteArray& first, qsizetype size)
{
    QByteArray store = first + "[Pad]\npad=";
    store += QByteArray(size - store.size() - 1, 'x');
    store += '\n';
    return store;
}

} // namespace zw::test
