#pragma once

#include <windows.h>
#include <commdlg.h>

// Prints the game in play, grid then solution, on a printer the player
// chooses. 1 once a printer was obtained, 0 otherwise.
int PrintGame(HWND owner);

// The calls that open, page and close a print job. PrintGame uses the
// platform's own; the tests put in calls that fail where they want.
struct PrintJobCalls {
    int(WINAPI* startDoc)(HDC, const DOCINFOA*);
    int(WINAPI* startPage)(HDC);
    int(WINAPI* endPage)(HDC);
    int(WINAPI* endDoc)(HDC);
    int(WINAPI* abortDoc)(HDC);
};

extern const PrintJobCalls kPlatformPrintJob;

// How many times the program itself sends the two pages, and in which order:
// collated is grid, solution, grid, solution...; otherwise every grid comes
// before the solutions.
struct PrintCopies {
    int count;
    bool collated;
};

// The copies the print dialog asked of the program. settings is the DEVMODE
// the dialog returned (null if none): where it has the printer make the
// copies, the device context already makes them and the program sends one.
PrintCopies CopiesToPrint(const PRINTDLGA& dialog, const DEVMODEA* settings);

// Sends the pages to the printer device context as one job, at the
// resolution the device reports. A job that was opened is always closed:
// ended when its last page went out, aborted otherwise.
void PrintDocument(HDC dc, const DOCINFOA* document, const PrintJobCalls& calls, PrintCopies copies);

// Page 0 is the grid as played, page 1 the solution; px and py are device
// pixels per millimetre. Reads the process-wide puzzle and player grid.
void DrawPrintPage(HDC dc, float px, float py, int page);

// One cell box in device coordinates, with its centred text unless text is null.
void DrawPrintCell(HDC dc, int left, int top, int right, int bottom, const char* text);
