#pragma once
// The pictures built into the program, decoded once per process, and games
// that run on them. Each game gets its own store object that shares the
// decoded pictures, as copies of a picture share their pixels.

#include "PictureSamples.h"

#include "assets/PictureStore.h"
#include "game/Game.h"
#include "game/Platform.h"

#include <QPointF>
#include <memory>

namespace zw::reliability {

const PictureStore& builtInPictures();
const SampleAtlas& builtInAtlas();

// A game window on these pictures; its store is made on first use, as always.
std::unique_ptr<Game> gameOn(Platform& platform, const PictureStore& pictures);

// The middle of the continue item of the Czech menu, found from its colour.
QPointF continueSpot(const SampleAtlas& atlas, const PictureStore& pictures);

} // namespace zw::reliability
