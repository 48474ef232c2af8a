#pragma once

#include <cstdint>

#include "engine/cell_geometry.h"

// What the player sees and fills (0 empty), the pencil marks (1 shown), and
// the level the next new grid is dug at. Process-wide, zero at start.
extern int16_t PlayerGrid[kCellCount];
extern uint8_t PencilMarks[kMarkCount];
extern int32_t DifficultyLevel;
