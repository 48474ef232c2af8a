#pragma once

#include <windows.h>
#include <commctrl.h>

// The toolbar along the top of the main window, control 4000, with its clock
// label (control 2000) in a widened placeholder at its right end. Keeps the
// toolbar's handle in ToolbarWindow.
void CreateToolbar(HWND mainWindow);

// The tooltip text of a toolbar command, or null for ids without one.
const char* TooltipText(UINT_PTR commandId);

// Answers a toolbar button's request for its tooltip text. The main window
// asks for wide requests, which show the accents on every code page.
void FillTooltip(TOOLTIPTEXTA* request, UINT_PTR commandId);
void FillTooltip(TOOLTIPTEXTW* request, UINT_PTR commandId);
