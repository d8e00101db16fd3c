#pragma once
// A 640 x 480 drawing surface for the game's pictures: hard-edged shapes and
// text in exact key colours (no anti-aliasing anywhere), written out as an
// 8-bit palette picture with the game's palette.
//
// Coordinates are pixels; boxes given as (x1, y1, x2, y2) include both corners.

#include "base/ColorKey.h"
#include "base/PictureSize.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <vector>

namespace zw::art {

// Key colours as RGB, for drawing (base/ColorKey.h).
inline const QColor Black = QColor::fromRgb(keyrgb::Black);         // ColorInfo: path, menu background
inline const QColor White = QColor::fromRgb(keyrgb::White);         // ColorWall
inline const QColor Red = QColor::fromRgb(keyrgb::Red);             // ColorStart
inline const QColor Green = QColor::fromRgb(keyrgb::Green);         // ColorGoal
inline const QColor Orange = QColor::fromRgb(keyrgb::Orange);       // ColorLink
inline const QColor DarkRed = QColor::fromRgb(keyrgb::DarkRed);     // ColorMenu
inline const QColor LightGrey = QColor::fromRgb(keyrgb::LightGrey); // ColorContinue
inline const QColor Grey = QColor::fromRgb(keyrgb::Grey);           // ColorNewGame
inline const QColor DarkGrey = QColor::fromRgb(keyrgb::DarkGrey);   // ColorQuit

// A closed polygon as a path, for uniting shapes before they are filled.
QPainterPath polygonPath(const QPolygonF& points);
// The outline of a line drawn width wide with round caps and joins, as a
// fillable path.
QPainterPath strokeOf(const QPainterPath& line, double width);
// A run of straight strokes width wide with pointed (mitred) corners, as a
// fillable path.
QPainterPath mitredStrokeOf(const std::vector<QPointF>& points, double width, double miterLimit,
                            Qt::PenCapStyle cap);

class Canvas {
public:
    explicit Canvas(int width = PictureWidth, int height = PictureHeight, QColor background = White);

    void fill(QColor c);
    void rect(int x1, int y1, int x2, int y2, QColor c);                    // filled box
    void frame(int x1, int y1, int x2, int y2, int thickness, QColor c);    // box outline, inside the box
    void roundedRect(int x1, int y1, int x2, int y2, int radius, QColor c); // filled
    void polygon(const std::vector<QPointF>& points, QColor c);             // filled
    void ellipse(int x1, int y1, int x2, int y2, QColor c);                 // filled, inside the box
    // Every pixel whose centre lies within radius of (cx, cy)'s centre:
    // radius 12 gives the 25-across, 441-pixel disc; radius 8 the 17-across, 197-pixel one.
    void disc(int cx, int cy, int radius, QColor c);
    // A ring: pixels at distance d with inner < d <= outer from the centre pixel.
    void ring(double cx, double cy, double inner, double outer, QColor c);
    // Thick strokes with round caps and joins.
    void stroke(const std::vector<QPointF>& points, double width, QColor c);
    void strokePath(const QPainterPath& path, double width, QColor c);
    void fillPath(const QPainterPath& path, QColor c);
    // Text with its top left at (x, y), pixelSize letters, hard-edged.
    void text(int x, int y, const QString& s, int pixelSize, QColor c, bool bold = true,
              const QString& family = QStringLiteral("DejaVu Sans"));
    // Text scaled to fill the box exactly (x1..x2, y1..y2), hard-edged.
    void textInBox(int x1, int y1, int x2, int y2, const QString& s, QColor c, bool bold = true,
                   const QString& family = QStringLiteral("DejaVu Sans"));
    // Size of s drawn at pixelSize (exact ink box).
    QRect textInk(const QString& s, int pixelSize, bool bold = true,
                  const QString& family = QStringLiteral("DejaVu Sans")) const;
    void pixel(int x, int y, QColor c);
    // Replaces every pixel of colour from by to inside the box.
    void recolour(int x1, int y1, int x2, int y2, QColor from, QColor to);
    // Flood fill of the 4-connected region of (x, y)'s colour.
    void floodFill(int x, int y, QColor c);

    QImage& image() { return img_; }
    const QImage& image() const { return img_; }

    // The picture as 8-bit palette with the game's palette. Any pixel whose
    // colour is not in the palette stops the drawing tool with an error.
    QImage toIndexed() const;

private:
    QImage img_;
};

} // namespace zw::art
