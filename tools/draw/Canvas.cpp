#include "draw/Canvas.h"
#include "base/GamePalette.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>
#include <cmath>
#include <stdexcept>

namespace zw::art {

namespace {

QFont hardFont(const QString& family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// Every shape is drawn with a fresh painter without anti-aliasing.
struct HardPainter : QPainter {
    explicit HardPainter(QImage* img) : QPainter(img)
    {
        setRenderHint(QPainter::Antialiasing, false);
        setRenderHint(QPainter::TextAntialiasing, false);
        setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
};

} // namespace

QPainterPath polygonPath(const QPolygonF& points)
{
    QPainterPath p;
    p.addPolygon(points);
    p.closeSubpath();
    return p;
}

QPainterPath strokeOf(const QPainterPath& line, double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QPainterPath mitredStrokeOf(const std::vector<QPointF>& points, double width, double miterLimit,
                            Qt::PenCapStyle cap)
{
    QPainterPath path(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(miterLimit);
    stroker.setCapStyle(cap);
    QPainterPath outline = stroker.createStroke(path);
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

Canvas::Canvas(int width, int height, QColor background)
    : img_(width, height, QImage::Format_RGB32)
{
    img_.fill(background);
}

void Canvas::fill(QColor c) { img_.fill(c); }

void Canvas::rect(int x1, int y1, int x2, int y2, QColor c)
{
    HardPainter p(&img_);
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), c);
}

void Canvas::frame(int x1, int y1, int x2, int y2, int t, QColor c)
{
    rect(x1, y1, x2, y1 + t - 1, c);
    rect(x1, y2 - t + 1, x2, y2, c);
    rect(x1, y1, x1 + t - 1, y2, c);
    rect(x2 - t + 1, y1, x2, y2, c);
}

void Canvas::roundedRect(int x1, int y1, int x2, int y2, int radius, QColor c)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x1, y1, x2 - x1 + 1, y2 - y1 + 1), radius, radius);
    fillPath(path, c);
}

void Canvas::polygon(const std::vector<QPointF>& points, QColor c)
{
    HardPainter p(&img_);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(points.data(), int(points.size()));
}

void Canvas::ellipse(int x1, int y1, int x2, int y2, QColor c)
{
    // Pixel-centre test, so the shape is symmetric and stays inside its box.
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = (x2 - x1 + 1) / 2.0, ry = (y2 - y1 + 1) / 2.0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                pixel(x, y, c);
        }
}

void Canvas::disc(int cx, int cy, int radius, QColor c)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius)
                pixel(cx + dx, cy + dy, c);
}

void Canvas::ring(double cx, double cy, double inner, double outer, QColor c)
{
    const int r = int(std::ceil(outer)) + 1;
    for (int y = int(cy) - r; y <= int(cy) + r; ++y)
        for (int x = int(cx) - r; x <= int(cx) + r; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d > inner && d <= outer)
                pixel(x, y, c);
        }
}

void Canvas::stroke(const std::vector<QPointF>& points, double width, QColor c)
{
    if (points.empty())
        return;
    QPainterPath path(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    strokePath(path, width, c);
}

void Canvas::strokePath(const QPainterPath& path, double width, QColor c)
{
    HardPainter p(&img_);
    QPen pen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void Canvas::fillPath(const QPainterPath& path, QColor c)
{
    HardPainter p(&img_);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

QRect Canvas::textInk(const QString& s, int pixelSize, bool bold, const QString& family) const
{
    QImage probe(pixelSize * (s.size() + 2), pixelSize * 3, QImage::Format_RGB32);
    probe.fill(Qt::white);
    {
        HardPainter p(&probe);
        p.setFont(hardFont(family, pixelSize, bold));
        p.setPen(Qt::black);
        p.drawText(QPoint(pixelSize, pixelSize * 2), s);
    }
    int minX = probe.width(), minY = probe.height(), maxX = -1, maxY = -1;
    for (int y = 0; y < probe.height(); ++y)
        for (int x = 0; x < probe.width(); ++x)
            if (probe.pixel(x, y) != qRgb(255, 255, 255)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    if (maxX < 0)
        return {};
    return QRect(QPoint(minX - pixelSize, minY - pixelSize * 2), QPoint(maxX - pixelSize, maxY - pixelSize * 2));
}

void Canvas::text(int x, int y, const QString& s, int pixelSize, QColor c, bool bold, const QString& family)
{
    // Place the ink's top left corner at (x, y).
    const QRect ink = textInk(s, pixelSize, bold, family);
    HardPainter p(&img_);
    p.setFont(hardFont(family, pixelSize, bold));
    p.setPen(c);
    p.drawText(QPoint(x - ink.left(), y - ink.top()), s);
}

void Canvas::textInBox(int x1, int y1, int x2, int y2, const QString& s, QColor c, bool bold, const QString& family)
{
    // The largest size whose ink fits the box, centred in it.
    const int w = x2 - x1 + 1, h = y2 - y1 + 1;
    int best = 4;
    for (int size = 4; size < 400; ++size) {
        const QRect ink = textInk(s, size, bold, family);
        if (ink.width() > w || ink.height() > h)
            break;
        best = size;
    }
    const QRect ink = textInk(s, best, bold, family);
    text(x1 + (w - ink.width()) / 2, y1 + (h - ink.height()) / 2, s, best, c, bold, family);
}

void Canvas::pixel(int x, int y, QColor c)
{
    if (x >= 0 && y >= 0 && x < img_.width() && y < img_.height())
        img_.setPixel(x, y, c.rgb());
}

void Canvas::recolour(int x1, int y1, int x2, int y2, QColor from, QColor to)
{
    for (int y = std::max(0, y1); y <= std::min(img_.height() - 1, y2); ++y)
        for (int x = std::max(0, x1); x <= std::min(img_.width() - 1, x2); ++x)
            if (img_.pixel(x, y) == from.rgb())
                img_.setPixel(x, y, to.rgb());
}

void Canvas::floodFill(int x, int y, QColor c)
{
    const QRgb from = img_.pixel(x, y), to = c.rgb();
    if (from == to)
        return;
    std::vector<QPoint> todo{{x, y}};
    while (!todo.empty()) {
        const QPoint q = todo.back();
        todo.pop_back();
        if (q.x() < 0 || q.y() < 0 || q.x() >= img_.width() || q.y() >= img_.height())
            continue;
        if (img_.pixel(q) != from)
            continue;
        img_.setPixel(q, to);
        todo.push_back({q.x() + 1, q.y()});
        todo.push_back({q.x() - 1, q.y()});
        todo.push_back({q.x(), q.y() + 1});
        todo.push_back({q.x(), q.y() - 1});
    }
}

QImage Canvas::toIndexed() const
{
    const QList<QRgb> palette = gamePalette();
    QHash<QRgb, int> index;
    for (int i = palette.size() - 1; i >= 0; --i)
        index.insert(palette[i], i); // first entry wins for the repeated blacks
    QImage out(img_.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    for (int y = 0; y < img_.height(); ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < img_.width(); ++x) {
            const QRgb c = img_.pixel(x, y) | 0xFF000000u;
            auto it = index.constFind(c);
            if (it == index.constEnd())
                throw std::runtime_error(QStringLiteral("colour #%1 at (%2, %3) is not in the palette")
                                             .arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                                             .arg(x)
                                             .arg(y)
                                             .toStdString());
            line[x] = uchar(*it);
        }
    }
    return out;
}

} // namespace zw::art
