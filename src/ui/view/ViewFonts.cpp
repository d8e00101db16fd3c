#include "ui/view/ViewFonts.h"

namespace zw::view {

QFont labelFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

QFont codeBoxFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(17.25);
    font.setBold(true);
    return font;
}

} // namespace zw::view
