#pragma once
// A level picture's bytes decoded for no more than the picture they hold.
//
// A PNG is walked chunk by chunk before anything decodes it: only the chunks
// that decide its pixels (header, palette, transparency, image data) are
// kept, its text, profiles and anything else are dropped unread, and its
// image data is inflated just far enough to see that it holds the header's
// rows and nothing after them. A stream that goes on past the last row is
// refused at once, however much it would inflate to. Only then does Qt
// decode what was kept. Of the other formats Qt reads, only BMP, GIF and
// JPEG (saved under a .png name) are taken, GIF and JPEG once their
// structure shows they cost no more than their picture (FormatBounds.h).

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace zw::check {

struct DecodedPicture {
    enum Problem {
        None,
        WrongSize,     // the header's size is not the one asked for: size holds it
        Damaged,       // cut short, a checksum that does not match, a broken structure
        DataPastRows,  // the image data goes on after the picture's last row
        TooManyScans,  // a JPEG of more scans than any encoder writes (FormatBounds.h)
        UnknownFormat, // no picture format the game reads
    };
    Problem problem = None;
    QSize size;   // as the header says, when it says
    QImage image; // the picture when problem is None
};

// file: the file's whole bytes, given up here so that they are freed before
// the picture is decoded.
DecodedPicture decodePicture(QByteArray file, QSize wanted);

} // namespace zw::check
