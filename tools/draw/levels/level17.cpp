// Level 17: four eyes in a two by two grid, all staring at the middle of the
// window. The path is the black outline of the eyes: along the lids from the
// start at the corner of the top left eye, through the corner where two eyes
// meet, down the long coil on the right and back along the bottom eyes to the
// goal at the corner of the bottom left eye. The orange pupils sit in the white of
// the eyes, out of reach of the path.

#include "draw/Pictures.h"
#include "draw/levels/MendEdges.h"
#include "draw/levels/artCShapes.h"

#include <cmath>
#include <numbers>

namespace zw::art {

namespace {

// The coil right of the eyes: runs from CoilLeft to CoilRight, CoilPitch apart.
constexpr double CoilWidth = 7;
constexpr double CoilLeft = 544, CoilRight = 626;
constexpr double CoilTop = 174, CoilPitch = 14;
constexpr int CoilRuns = 14; // even, so the last run ends on the left, by the lower eye

// A circular arc from p to q that bulges sideways by sagitta (upwards on
// screen for a left-to-right chord), sampled finely. The bulge must be less
// than half the chord, so the arc is the short way round its circle.
std::vector<QPointF> arcThrough(QPointF p, QPointF q, double sagitta)
{
    const QPointF mid = (p + q) / 2.0, chord = q - p;
    const double half = std::hypot(chord.x(), chord.y()) / 2.0;
    const double radius = (half * half + sagitta * sagitta) / (2.0 * sagitta);
    // The centre lies on the far side of the chord from the bulge.
    const QPointF towardsBulge(chord.y() / (2 * half), -chord.x() / (2 * half));
    const QPointF centre = mid - towardsBulge * (radius - sagitta);
    const double a0 = std::atan2(p.y() - centre.y(), p.x() - centre.x());
    const double a1 = a0 + std::remainder(std::atan2(q.y() - centre.y(), q.x() - centre.x()) - a0,
                                          2 * std::numbers::pi);
    std::vector<QPointF> points;
    const int steps = 200;
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        points.emplace_back(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
    return points;
}

// The almond of an eye between its two corners: upper lid bulging up by
// upper, lower lid bulging down by lower.
std::vector<QPointF> almond(QPointF left, QPointF right, double upper, double lower)
{
    std::vector<QPointF> outline = arcThrough(left, right, upper);
    // Walking the chord backwards, a positive bulge points down.
    const std::vector<QPointF> bottom = arcThrough(right, left, lower);
    outline.insert(outline.end(), bottom.begin(), bottom.end());
    return outline;
}

struct Eye {
    QPointF left, right;
};

void drawEye(Canvas& c, const Eye& eye, QPointF lookAt)
{
    const double upperLid = 64, lowerLid = 50;
    c.polygon(almond(eye.left, eye.right, upperLid, lowerLid), Black);
    // The white of the eye: a smaller almond, kept away from the corners so
    // the corners stay solid black where the path turns through them.
    const QPointF inset(13, 0);
    c.polygon(almond(eye.left + inset, eye.right - inset, upperLid - 7, lowerLid - 6), White);

    // Lashes along the upper lid, fanning outwards.
    const std::vector<QPointF> lid = arcThrough(eye.left, eye.right, upperLid);
    const QPointF centre = (eye.left + eye.right) / 2.0 + QPointF(0, 60);
    for (int i = 1; i <= 5; ++i) {
        const QPointF root = lid[lid.size() * i / 6];
        QPointF out = root - centre;
        out /= std::hypot(out.x(), out.y());
        c.stroke({root, root + out * 17}, 4.5, Black);
    }

    // The pupil: an orange disc in a black ring, turned towards lookAt.
    const QPointF middle = (eye.left + eye.right) / 2.0 + QPointF(0, -6);
    QPointF gaze = lookAt - middle;
    gaze *= 12.0 / std::hypot(gaze.x(), gaze.y());
    const QPointF pupil = middle + gaze;
    c.ring(std::round(pupil.x()), std::round(pupil.y()), -1, 30.5, Black);
    c.ring(std::round(pupil.x()), std::round(pupil.y()), -1, 23.5, Orange);
    c.ring(std::round(pupil.x()) - 8, std::round(pupil.y()) - 8, -1, 4.5, White);
}

} // namespace

Canvas drawLevel17()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 17);

    // The eyes overlap at the inner corners by a few pixels, so the path
    // passes from one eye to the next through a solid black knot.
    const QPointF lookAt(320, 261);
    const Eye topLeft{{88, 160}, {310, 160}}, topRight{{300, 160}, {522, 160}};
    const Eye bottomLeft{{86, 362}, {308, 362}}, bottomRight{{298, 362}, {520, 362}};
    // The outer corners of the right-hand eyes are joined by a coil: long
    // runs to and fro with round turns, filling the room right of the eyes.
    std::vector<QPointF> coil{{518, 160}};
    for (int k = 0; k < CoilRuns; ++k) {
        const double y = CoilTop + k * CoilPitch;
        const bool rightwards = k % 2 == 0;
        coil.emplace_back(rightwards ? CoilLeft : CoilRight, y);
        coil.emplace_back(rightwards ? CoilRight : CoilLeft, y);
        if (k + 1 == CoilRuns)
            break;
        const std::vector<QPointF> turn = rightwards
            ? arcPoints(CoilRight, y + CoilPitch / 2, CoilPitch / 2, -90, 90)
            : arcPoints(CoilLeft, y + CoilPitch / 2, CoilPitch / 2, 270, 90);
        coil.insert(coil.end(), turn.begin(), turn.end());
    }
    coil.emplace_back(516, 362);
    c.stroke(coil, CoilWidth, Black);
    for (const Eye& eye : {topLeft, topRight, bottomLeft, bottomRight})
        drawEye(c, eye, lookAt);

    c.ellipse(93 - 15, 160 - 15, 93 + 15, 160 + 15, Black);
    c.ellipse(91 - 15, 362 - 15, 91 + 15, 362 + 15, Black);
    drawSpots(c, 17);
    mendEdges(c);
    return c;
}

} // namespace zw::art
