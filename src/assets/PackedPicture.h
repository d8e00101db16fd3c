#pragma once
// The full-window pictures as the program carries them: the 8-bit colour
// indices and their colour table, laid out so that a picture can be shown
// straight from the program's own memory. Turning the drawn PNG files into
// this form happens when the program is built, so starting the game decodes
// nothing, and each picture exists once, in the program image, shared by
// every holder of it.
//
// Layout, every number a little-endian 32-bit word:
//   "ZWP1", width, height, colour count (1 to 256), the colour table
//   (one 0xAARRGGBB value per colour), then the rows of colour indices,
//   each row padded with zeros to a multiple of four bytes.

#include <QByteArray>
#include <QImage>

namespace zw {

// The packed form of an 8-bit indexed picture; empty for any other format.
QByteArray packPicture(const QImage& picture);

// The picture that data holds, referring to data without copying it: data
// must stay as it is for as long as the picture or any copy of it lives.
// A null picture if data is not a whole packed picture.
QImage unpackPicture(const uchar* data, qsizetype size);

} // namespace zw
