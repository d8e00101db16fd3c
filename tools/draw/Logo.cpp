// The maker's logo, drawn pixel by pixel from two circles per crescent so that
// both crescents come out exact mirror images with hard edges.

#include "draw/Logo.h"
#include "base/Maker.h"

#include <cmath>

namespace zw::art {

namespace {

// Where the logo sits: the ring's centre; the crescents share it.
constexpr double CentreX = 441.0;
constexpr double CentreY = 326.5; // between two rows, so top and bottom mirror exactly

// Each crescent fills a box 41 wide and 114 high and is 14 pixels thick at its
// middle. Its circles are laid out for horns a little longer (42 x 116), which
// are then cut off at 114 rows: sharp points would end in stray single pixels,
// while the cut leaves blunt tips 3 pixels wide.
constexpr double CrescentWidth = 42.0;
constexpr double CrescentHalfHeight = 58.0;
constexpr double CrescentThickness = 14.0;
constexpr double CrescentCut = 57.0; // rows within this of the centre are kept

// A crescent is the part of an outer circle that an inner, larger circle
// shifted towards the logo's centre leaves uncovered. Both circles pass
// through the two tips; the outer one is centred on the ring.
struct Crescent {
    double outerRadius;
    double innerRadius;
    double innerShift; // distance of the inner circle's centre from the ring's
};

Crescent crescentFor(double width, double halfHeight, double thickness)
{
    // From the outer circle's centre, its leftmost point lies at -R and the
    // tips at (width - R, +-halfHeight), on the circle: R^2 = (width - R)^2 + halfHeight^2.
    const double outer = (width * width + halfHeight * halfHeight) / (2.0 * width);
    const double tipX = width - outer; // relative to the centre, negative
    // The inner circle's leftmost point is thickness in from the outer one's:
    // centre s, radius r with s - r = thickness - outer and r^2 = (tipX - s)^2 + halfHeight^2.
    const double k = thickness - outer; // s = r + k
    const double d = tipX - k;          // tipX - s = d - r
    const double inner = (d * d + halfHeight * halfHeight) / (2.0 * d);
    return {outer, inner, inner + k};
}

// side -1 draws the left crescent, +1 the right one (mirrored).
void drawCrescent(Canvas& c, const Crescent& k, int side)
{
    const int reach = int(std::ceil(k.outerRadius)) + 1;
    for (int y = int(CentreY) - reach; y <= int(CentreY) + reach + 1; ++y)
        for (int x = int(CentreX) - reach; x <= int(CentreX) + reach; ++x) {
            const double dx = (x - CentreX) * -side; // towards the logo's centre is positive
            const double dy = y - CentreY;
            const bool inOuter = dx * dx + dy * dy <= k.outerRadius * k.outerRadius;
            const double ix = dx - k.innerShift;
            const bool inInner = ix * ix + dy * dy <= k.innerRadius * k.innerRadius;
            if (inOuter && !inInner && std::abs(dy) < CrescentCut)
                c.pixel(x, y, Red);
        }
}

} // namespace

void drawMakerLogo(Canvas& c)
{
    const Crescent k = crescentFor(CrescentWidth, CrescentHalfHeight, CrescentThickness);
    drawCrescent(c, k, -1);
    drawCrescent(c, k, +1);
    // The ring keeps a black gap to the crescents' inner edges so each shape
    // reads on its own.
    c.ring(CentreX, CentreY, 27.0, 38.0, White);
    c.textInBox(371, 391, 511, 403, maker::Name, White);
}

} // namespace zw::art
