#pragma once

#include <cmath>

namespace zw::reliability {

// A stored number the game could have written: finite and without a fraction.
inline bool whole(float value) { return std::isfinite(value) && std::trunc(value) == value; }

} // namespace zw::reliability
