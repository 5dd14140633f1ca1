#pragma once

#include <functional>

namespace lotgrid {

// A uniform source over [0, 1), seeded afresh from std::random_device and the
// high-resolution clock, so that two casts in the same second differ.
std::function<double()> newSeededUniformSource();

} // namespace lotgrid
