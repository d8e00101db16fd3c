#include "view/ViewFonts.h"

namespace zw::view {

namespace {

// A font with every property set, in pixels: nothing is left for the
// desktop's font settings, its dpi or a parent widget (the Wayland title
// bar is bold) to fill in, so the strip and the code box look and measure
// the same everywhere.
QFont ownFont(const QString& family, int pixelSize, QFont::Weight weight)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStretch(QFont::Unstretched);
    font.setLetterSpacing(QFont::PercentageSpacing, 100);
    font.setWordSpacing(0);
    font.setCapitalization(QFont::MixedCase);
    return font;
}

} // namespace

QString labelFontFamily()
{
    return QStringLiteral("Liberation Sans");
}

QFont labelFont()
{
    QFont font = ownFont(labelFontFamily(), 10, QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont codeBoxFont()
{
    // 17.25 points on the 96-dpi screen the box was laid out for: 23 pixels.
    return ownFont(QStringLiteral("DejaVu Sans"), 23, QFont::Bold);
}

} // namespace zw::view
