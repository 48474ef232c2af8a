#include "engine/player_arrays.h"

// Static storage: zero until the first new grid or loaded game.
int16_t PlayerGrid[kCellCount];
uint8_t PencilMarks[kMarkCount];
int32_t DifficultyLevel;
