#pragma once
// The hidden picture store: both pointer pictures, the menu in both
// languages and the pictures of the menu, the mazes and the closing
// picture. Every picture is decoded once, when the store is created, and
// handed out by reference (QImage is implicitly shared), never copied.

#include "base/Levels.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace zw {

class PictureStore {
public:
    static constexpr int LevelCount = LevelPictureCount; // Picture3(0) to Picture3(ClosingLevel)

    // Loads name ("menu-cs", "level-07", "pointer-run", ...) to a picture.
    using Loader = std::function<QImage(const QString& name)>;

    // The pictures built into the program.
    PictureStore();
    // Pictures from elsewhere (tests draw their own small fixtures).
    explicit PictureStore(const Loader& load);

    const QImage& Picture1() const { return picture1_; } // red ring: run pointer, window icon
    const QImage& Picture2() const { return picture2_; } // green ring: idle pointer
    const QImage& Picture4() const { return picture4_; } // Czech menu
    const QImage& Picture5() const { return picture5_; } // English menu

    // Picture3(i): level i's picture. Outside the menu to the closing picture a RuntimeError (340).
    const QImage& Picture3(std::int16_t index) const;
    // Only element 0 is ever replaced: by the menu of the other language.
    void setPicture3Menu(const QImage& menu) { picture3_[0] = menu; }

    // File name of each picture, as built in and as the drawing tool writes them.
    static QString levelName(int level); // "menu-cs", "level-01" ... "level-20", "closing"

    static QImage loadBuiltIn(const QString& name);

private:
    QImage picture1_, picture2_, picture4_, picture5_;
    std::array<QImage, LevelCount> picture3_;
};

// The colour of pixel (x, y) of a picture in &HBBGGRR order: one pixel read.
std::int32_t pixelColour(const QImage& picture, int x, int y);

} // namespace zw
