#pragma once
// "Walking the Zigzag": the game's background tune, a light, bouncy piece in
// F major of about fifty seconds for vibraphone, electric piano, strings,
// bass and drums.

#include "MidiWriter.h"

namespace zw::tune {

midi::Bytes compose();

} // namespace zw::tune
