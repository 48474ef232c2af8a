#pragma once

#include <cstdint>

#include "platform.h"

// The cell an arrow key moves the selection to from the hidden cell `from`,
// skipping givens within the row or column; -1 when it does not move.
int32_t NavigationTarget(const uint8_t* cellMask, int32_t from, WPARAM key);
