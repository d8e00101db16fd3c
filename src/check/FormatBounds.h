#pragma once
// What a GIF or JPEG level picture would cost to decode, told from its
// structure before Qt decodes it. A GIF's compressed codes are walked for
// the length of what they spell, without spelling it, so a frame whose data
// goes on past its own pixels (a few megabytes can spell gigabytes) is
// refused before Qt would grind through it; a JPEG's scans are counted, as
// each scan is another pass over the whole picture.

#include "check/PictureFile.h"

#include <QByteArray>

namespace zw::check {

// A progressive JPEG needs about ten scans; no encoder a player uses writes
// more than a few dozen.
inline constexpr int MostJpegScans = 100;

DecodedPicture::Problem boundGif(const QByteArray& file);
DecodedPicture::Problem boundJpeg(const QByteArray& file);

} // namespace zw::check
