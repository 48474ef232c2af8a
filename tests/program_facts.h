#pragma once

// What the tests check the program against, from the program's own headers:
// its texts, its brushes' colours, its ids and window classes, its version.
// A test compares with these names, never with a copy of its own.

#ifdef _WIN32
// Whole, before the rules' platform header asks for the lean one.
#include <windows.h>
#endif

#include "play/grid_board.h"
#include "play/program_text.h"
#include "program_version.h"
#include "resources/program_ids.h"
