#pragma once

// What the tests check the program against, from its own headers: texts,
// brush colours, ids, window classes, version. No test keeps a copy.

#ifdef _WIN32
// Whole, before the rules' platform header asks for the lean one.
#include <windows.h>
#endif

#include "play/grid_board.h"
#include "play/program_text.h"
#include "program_version.h"
#include "resources/program_ids.h"
