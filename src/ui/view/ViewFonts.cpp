#include "ui/view/ViewFonts.h"

namespace zw::view {

QString labelFontFamily()
{
    return QStringLiteral("Liberation Sans");
}

QFont labelFont()
{
    QFont font(labelFontFamily());
    font.setPixelSize(10);
    font.setHintingPreference(QFont::PreferFullHinting);
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
