#pragma once

#include <windows.h>
#include <commctrl.h>

// The toolbar along the top of the main window, control 4000, with its clock
// label (control 2000) in a widened placeholder at its right end. Keeps the
// toolbar's handle in ToolbarWindow. Everything in it is sized for `dpi`.
void CreateToolbar(HWND mainWindow, int dpi);

// Makes the toolbar again at a new scale, with the buttons' states and the
// clock's text the old one had.
void RebuildToolbar(HWND mainWindow, int dpi);

// Releases the clock label's own font, which it has wherever the default one
// does not serve (anywhere but at 96 DPI on a 96-DPI system), and the
// pictures the toolbar has in a contrast theme.
void ReleaseClockLabelFont();

// In a contrast theme the toolbar shows its pictures in the theme's button
// text (the disabled ones in its disabled text) and frames the checked tool.
// After a change of theme or of the system's colours: passes the news on to
// the toolbar, makes it again with the pictures the theme now wants (states
// and clock kept), and repaints the main window and everything in it.
void FollowSystemColours(HWND mainWindow, bool coloursChanged);
// The toolbar's NM_CUSTOMDRAW, answered in the main window.
LRESULT DrawToolbarItem(const NMTBCUSTOMDRAW* draw);

// The tooltip text of a toolbar command, or null for ids without one.
const char* TooltipText(UINT_PTR commandId);

// Answers a toolbar button's request for its tooltip text. The main window
// asks for wide requests, which show the accents on every code page.
void FillTooltip(TOOLTIPTEXTA* request, UINT_PTR commandId);
void FillTooltip(TOOLTIPTEXTW* request, UINT_PTR commandId);
