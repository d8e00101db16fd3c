#pragma once
// A small clean level as a player would paint it, and a folder of them, so
// that a test can break one thing and see it refused.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zw::fixtures {

// White, a black corridor across the middle, a red start disc at its left
// end, a green goal disc at its right end and a dark red spot in a corner.
QImage playerLevel();

// A level painted as a paint program paints it, with soft anti-aliased edges:
// a thick black curve from a red disc to a green one, and a dark red spot.
// variant (1, 2, 3...) bends the curve differently.
QImage paintedLevel(int variant);

// The picture as the bytes of a PNG file (a level inside a pack).
QByteArray pngBytes(const QImage& image);

// Writes level-01.png .. level-NN.png of playerLevel() into folder.
void writePlayerFolder(const QString& folder, int levels);

} // namespace zw::fixtures
