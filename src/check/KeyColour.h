#pragma once
// The colour key as the checker sees it: every pixel of a full-window picture
// is sorted into one of the nine key colours or "inert", and the rules then
// work on that map instead of on raw colours.

#include "check/FloodFill.h"
#include "check/PictureBoxes.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace zw::check {

enum class Key : std::uint8_t {
    Info,     // black (0, 0, 0): path, menu background
    Continue, // light grey (192, 192, 192)
    NewGame,  // grey (128, 128, 128)
    Quit,     // dark grey (102, 102, 102)
    Link,     // orange (255, 153, 51)
    Start,    // red (255, 0, 0)
    Wall,     // white (255, 255, 255)
    Goal,     // green (0, 255, 0)
    Menu,     // dark red (128, 0, 0)
    Inert,    // any other colour: the game attaches no meaning to it
};

inline constexpr int KeyCount = 9; // the meaningful ones, Inert excluded

Key keyOf(QRgb rgb);
// The colour of key k (k not Inert).
QRgb keyRgb(Key k);
// "orange (link)": the colour and its role, for messages.
QString keyName(Key k);
// "orange": the colour alone.
QString colourName(Key k);

// A picture sorted into key colours, plus the raw colours for messages.
class KeyMap {
public:
    KeyMap() = default;
    explicit KeyMap(const QImage& image);

    int width() const { return w_; }
    int height() const { return h_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Key at(int x, int y) const { return keys_[std::size_t(y) * w_ + x]; }
    Key at(QPoint p) const { return at(p.x(), p.y()); }
    QRgb rgb(int x, int y) const { return rgb_[std::size_t(y) * w_ + x]; }

    // Pixels of key k, in reading order (top to bottom, left to right).
    std::vector<QPoint> pixelsOf(Key k) const;
    std::vector<QPoint> pixelsOf(Key k, const QRect& within) const;
    int count(Key k) const;
    // Bounding box of all pixels of k; null rect when there are none.
    QRect boundsOf(Key k) const;

    // The connected pieces of key k, each found from its first pixel in
    // reading order, in that order.
    using Touch = check::Touch;
    struct Piece {
        QPoint first;
        QRect bounds;
        int size = 0;
    };
    std::vector<Piece> piecesOf(Key k, Touch touch) const;
    // The pixels of the piece of first's key that holds first.
    std::vector<QPoint> pieceAt(QPoint first, Touch touch) const;

private:
    int w_ = 0, h_ = 0;
    std::vector<Key> keys_;
    std::vector<QRgb> rgb_;
};

// A picture that holds key colours only, as 8-bit indices into the key: a
// quarter of the memory of a truecolour picture, read by the colour query
// the same way. A picture already 8-bit is left as it is.
QImage keyIndexed(const QImage& picture);

// (x,y) and (x1,y1)-(x2,y2) as the messages write them.
QString pointText(QPoint p);
QString boxText(const QRect& r);

} // namespace zw::check
