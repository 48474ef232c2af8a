#pragma once

#include <cstdint>

#include "platform.h"

// The cell an arrow key moves the selection to from the hidden cell `from`,
// skipping givens within the row or column; -1 when it does not move.
int32_t NavigationTarget(const uint8_t* cellMask, int32_t from, WPARAM key);

// The cell an arrow key selects when nothing is: `remembered` (the cell
// selected when the grid last lost the focus) while it is still hidden,
// otherwise the first hidden cell in reading order; -1 when none is hidden.
int32_t ArrowStartCell(const uint8_t* cellMask, int32_t remembered);
