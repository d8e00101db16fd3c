#include "check/ContactSheet.h"

#include <QFont>
#include <QPainter>

namespace zw::check {

namespace {

// Thumbnails are a quarter of the picture each way: nearest-neighbour, so the
// hard edges stay hard and a stray pixel colour is not smoothed away.
constexpr int columns = 6;
constexpr int thumbW = 160, thumbH = 120, labelH = 16, gap = 8;
constexpr int cellW = thumbW + gap, cellH = thumbH + labelH + gap;
constexpr int pointerScale = 3;

} // namespace

QImage contactSheet(const std::vector<LoadedPicture>& pictures, const std::vector<LevelDifficulty>& difficulties)
{
    std::vector<const LoadedPicture*> full, pointers;
    for (const LoadedPicture& p : pictures)
        (p.info.kind == PictureKind::Pointer ? pointers : full).push_back(&p);
    const int rows = (int(full.size()) + columns - 1) / columns + 1; // + the pointer row
    QImage sheet(gap + columns * cellW, gap + rows * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(48, 48, 48));

    QPainter painter(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    const auto label = [&](int x, int y, const QString& text) {
        painter.setPen(Qt::white);
        painter.drawText(QRect(x, y, thumbW, labelH), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    const auto missing = [&](const QRect& r) {
        painter.fillRect(r, QColor(255, 0, 255)); // loud, so a gap is not mistaken for art
    };

    for (int i = 0; i < int(full.size()); ++i) {
        const int x = gap + (i % columns) * cellW, y = gap + (i / columns) * cellH;
        const QRect r(x, y, thumbW, thumbH);
        if (full[i]->image.isNull())
            missing(r);
        else
            painter.drawImage(r, full[i]->image.scaled(thumbW, thumbH, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        QString text = full[i]->info.file;
        for (const LevelDifficulty& d : difficulties)
            if (full[i]->info.kind == PictureKind::Level && d.level == full[i]->info.level && d.measured)
                text += QStringLiteral("   ID %1").arg(d.id, 0, 'f', 0);
        label(x, y + thumbH, text);
    }
    // Pointers on a mid grey, so both the black outline and the open middle show.
    const int py = gap + (rows - 1) * cellH;
    for (int i = 0; i < int(pointers.size()); ++i) {
        const int x = gap + i * cellW;
        const QRect r(x, py, 32 * pointerScale, 32 * pointerScale);
        painter.fillRect(r, QColor(160, 160, 160));
        if (pointers[i]->image.isNull())
            missing(r);
        else
            painter.drawImage(r, pointers[i]->image.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
        label(x, py + 32 * pointerScale, pointers[i]->info.file);
    }
    painter.end();
    return sheet;
}

} // namespace zw::check
