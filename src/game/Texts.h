#pragma once
// The table of every caption, tool tip and prompt the game puts on its
// controls: nine items, each in Czech (language 0) and English (language 1).

#include <QString>
#include <array>
#include <cstdint>

namespace zw {

class TextTable {
public:
    static constexpr int Languages = 2;
    static constexpr int Items = 9;

    // Fills the nine Czech items, then the nine English ones.
    void fill();

    // Texts(L, k). A language outside 0 to 1 raises Subscript out of range (9).
    const QString& operator()(std::uint8_t language, int item) const;

    // Stored language first: Texts(L, k) sits at 2k + L.
    const std::array<QString, Languages * Items>& flat() const { return flat_; }

private:
    std::array<QString, Languages * Items> flat_{};
};

} // namespace zw
