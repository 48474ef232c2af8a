#pragma once

// The contrast themes the tests play under. Wine refuses SPI_SETHIGHCONTRAST
// (error 1439) but sets system colours: so the calling process's import
// table answers SystemParametersInfoW and A as a contrast theme does, and
// SetSysColors sets the theme's colours.

#include <windows.h>

struct SystemColour {
    int role;  // COLOR_...
    COLORREF colour;
};

const int kPaletteRoles = 12;

struct ContrastPalette {
    const char* name;
    SystemColour colours[kPaletteRoles];
    COLORREF Colour(int role) const;
};

// Windows' own "High Contrast Black" and "High Contrast White".
extern const ContrastPalette kContrastPalettes[];
extern const int kContrastPaletteCount;

// The WCAG 2 contrast ratio: 1 for the same colour, 21 for black and white.
double ContrastRatio(COLORREF a, COLORREF b);

// With `on`, SPI_GETHIGHCONTRAST answers HCF_HIGHCONTRASTON to the module's
// calls, and every other question goes to the system; without, the module's
// import table is as it was. False when the module imports neither function.
bool PretendContrastTheme(HMODULE module, bool on);

// Sets the palette's colours, keeping the ones they replace the first time;
// -1 puts those back.
void ApplyPalette(int palette);
