#pragma once

#include <windows.h>

// Whether the player chose one of Windows' contrast themes, in which the
// grid and the solution window paint with the system's colours by role
// (GetSysColor) rather than with their own. The answer is asked of the
// system once and again whenever one of the messages below tells of a
// change, so that every paint between two changes agrees with the others.
bool ContrastThemeOn();
// Asks the system again; returns the new answer.
bool ReadContrastTheme();
// The messages with which Windows tells its top-level windows that a
// contrast theme was switched on, off or to another, or that the system's
// colours changed.
bool IsThemeChange(UINT message, WPARAM wParam);

// Gives the window's class the button face's brush again after the system's
// colours changed: Windows keeps its system colour brushes and changes their
// colour, but Wine makes them anew, which would leave the class erasing with
// a released brush.
void KeepClassBackground(HWND window);
