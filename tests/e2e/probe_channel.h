#pragma once

// What the driver and the probe library, loaded into the game through a
// message hook, share. Some of what a player sees cannot be asked from another
// process under Wine (menu item states, the cursor handles the game loaded),
// so the probe answers those questions from inside the game's UI thread.

#include <windows.h>

#define E2E_PROBE_MESSAGE "NonaroE2EProbeRequest"
#define E2E_PROBE_MAPPING "NonaroE2EProbeChannel"
#define E2E_PROBE_HOOK_EXPORT "E2EProbeHook"
// Posted behind the driver's input: once the game takes it from its queue,
// everything posted before it has been handled, or is inside a modal loop
// (a message box, a file dialog) that is now waiting for the player.
#define E2E_PROBE_MARKER_MESSAGE "NonaroE2EProbeMarker"
#define E2E_PROBE_MARKER_EVENT "NonaroE2EProbeMarkerTaken"
#define E2E_PROBE_MARKER_EXPORT "E2EProbeMarkerHook"

enum ProbeOp : LONG {
    kProbeMenuItem = 1,       // id, flags: GetMenuState and GetMenuStringW on the window's menu
    kProbeCursors = 2,        // the thread's cursor and the system cursors as the game sees them
    kProbeToolbarButton = 3,  // id: rectangle of that toolbar button, in screen coordinates
    kProbeTooltip = 4,        // id: the text the toolbar gives its tooltip for that button
    kProbeContrastTheme = 5,  // id: a contrast palette, or -1 for none, told as Windows tells it
    // how many pictures the normal and disabled lists hold, the fewest stroke
    // pixels of one, the lowest stroke contrast to the button face times 100;
    // rect.left: how many colours the normal strokes have
    kProbeToolbarPictures = 6,
    // path posted as WM_DROPFILES; with flags 1, once the game takes command
    // id from its queue, so that the drop arrives while that command runs
    kProbeDropFile = 7,
    kProbeChangeScale = 8,   // id the new DPI, flags the old: WM_DPICHANGED with the outer size scaled
    kProbePaintPending = 9,  // how many windows of the game's UI thread still wait for their WM_PAINT;
                             // with none, what they painted is put on the screen
};

// The scenarios hold the game's texts as the program writes them, in
// Windows-1252. Texts are read wide and turned back into 1252 without best
// fit, so an accent the game garbled under another code page shows as '?'.
inline void ProgramText(const wchar_t* wide, char* text, int size)
{
    text[0] = 0;
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide, -1, text, size, "?", nullptr);
    text[size - 1] = 0;
}

struct ProbeChannel {
    LONG serial;  // bumped by the probe when it has answered
    LONG op;
    LONG id;
    LONG flags;
    LONG result[4];
    RECT rect;
    char text[128];
    LONG markerTaken;     // the serial of the last marker the game took from its queue
    LONG buttonUpsTaken;  // left-button releases the game has taken from its queue
    LONG dropsPosted;     // WM_DROPFILES posted by the probe
    wchar_t path[1024];
};
