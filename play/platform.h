#pragma once

// The only window-system header the game rules see. On Windows it is the real
// API; elsewhere a headless stand-in of ours supplies the same names with the
// effects the rules rely on (repaints recorded, message boxes answered,
// timers, labels, toolbar and menu states kept, files on disk). The system
// libraries that start-up does without are reached through SystemLibrary,
// which loads them on first use.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include "play/system_libraries.h"
#else
#include "headless_win32.h"
#endif
