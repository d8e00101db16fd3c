#pragma once
// The maker's logo on the menu: a white ring held between two red crescents,
// with the maker's name underneath.

#include "draw/Canvas.h"

namespace zw::art {

// Draws the logo inside the box (351, 269)-(531, 404). The crescents are red,
// so on the menu they work as start spots; the ring and the name are white
// and work as walls.
void drawMakerLogo(Canvas& c);

} // namespace zw::art
