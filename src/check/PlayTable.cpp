#include "check/PlayTable.h"
#include "check/KeyColour.h"
#include "check/Playability.h"
#include "base/PictureSize.h"

#include <QStringList>

namespace zw::check {

QString playabilityTable(const std::vector<LoadedPicture>& pictures)
{
    QStringList lines;
    lines << QStringLiteral("| Level | Shortest path, disc to disc (px, 8-connected, diagonal step 1.41) "
                            "| Narrowest passage on the widest path (px, 2 x distance to wall centre - 1) | Near "
                            "| ID, steering difficulty (least sum of step / width, disc to disc) "
                            "| Narrowest passage on that easiest path (px) |");
    lines << QStringLiteral("|---|---|---|---|---|---|");
    for (const LoadedPicture& p : pictures) {
        if (p.info.kind != PictureKind::Level)
            continue;
        const QString level = QStringLiteral("%1").arg(p.info.level, 2, 10, QLatin1Char('0'));
        if (p.image.isNull() || p.image.size() != QSize(PictureWidth, PictureHeight)) {
            lines << QStringLiteral("| %1 | unreadable | - | - | - | - |").arg(level);
            continue;
        }
        // One value per goal; level 8's two goals are listed side by side.
        QStringList length, narrowest, near, difficulty, easiestNarrowest;
        for (const PathMeasure& m : p.ways) {
            if (!m.connected) {
                length << QStringLiteral("not connected");
                narrowest << QStringLiteral("-");
                near << QStringLiteral("-");
                difficulty << QStringLiteral("-");
                easiestNarrowest << QStringLiteral("-");
                continue;
            }
            length << QString::number(m.length, 'f', 0);
            narrowest << widthText(m.narrowest);
            near << pointText(m.narrowestAt);
            difficulty << QString::number(m.difficulty, 'f', 1);
            easiestNarrowest << widthText(m.easiestNarrowest);
        }
        const QString sep = QStringLiteral(" / ");
        lines << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |")
                     .arg(level, length.join(sep), narrowest.join(sep), near.join(sep), difficulty.join(sep),
                          easiestNarrowest.join(sep));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace zw::check
