#pragma once
// Finding where to move the pointer on a picture: a route along the path
// that keeps clear of the walls, and solid spots of a colour to press on.

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <functional>
#include <optional>
#include <vector>

namespace zw::e2e {

// The middle of all pixels of this colour (for a single disc: its centre).
std::optional<QPoint> centreOf(const QImage& picture, QRgb colour);

// A pixel deep inside an area of this colour, so that a press there cannot
// slip onto a neighbouring colour: the first whose 7x7 (else 5x5, 3x3)
// neighbourhood is all that colour, scanning rows from the top; failing
// those, any pixel of it.
std::optional<QPoint> solidSpot(const QImage& picture, QRgb colour);

// A route of neighbouring pixels (8-connected) from `from` to the first
// pixel that isTarget accepts. It runs over pixels of the passable colours
// whose distance to any other colour is at least `clearance` (1 = right next
// to it); the target pixel itself needs no clearance. Breadth first, so it is
// a shortest such route.
std::optional<std::vector<QPoint>> findRoute(const QImage& picture, QPoint from,
                                             const std::vector<QRgb>& passable, int clearance,
                                             const std::function<bool(QPoint)>& isTarget);

// The widest route: tries clearances from wide to narrow.
std::optional<std::vector<QPoint>> findWidestRoute(const QImage& picture, QPoint from,
                                                   const std::vector<QRgb>& passable,
                                                   const std::function<bool(QPoint)>& isTarget);

// Every step-th point of a route, always with its last point.
std::vector<QPoint> everyNth(const std::vector<QPoint>& route, int step);

} // namespace zw::e2e
