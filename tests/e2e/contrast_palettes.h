#pragma once

// The contrast themes the tests play under. Wine refuses to switch a
// contrast theme on (SPI_SETHIGHCONTRAST fails with error 1439), but it sets
// system colours: so a test gives the program the answer a contrast theme
// gives, by replacing SystemParametersInfoW and A in the program's import
// table, and sets the theme's colours with SetSysColors. Both act on the
// process that calls them: the end-to-end probe calls them inside the game,
// the in-process tests in their own program.

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

// Windows' own "High Contrast Black" (white on black) and "High Contrast
// White" (black on white).
extern const ContrastPalette kContrastPalettes[];
extern const int kContrastPaletteCount;

// The WCAG 2 contrast ratio of two colours, from their relative luminance:
// 1 for the same colour, 21 for black and white.
double ContrastRatio(COLORREF a, COLORREF b);

// With `on`, SPI_GETHIGHCONTRAST answers HCF_HIGHCONTRASTON to the module's
// calls, and every other question goes to the system; without, the module's
// import table is as it was. False when the module imports neither function.
bool PretendContrastTheme(HMODULE module, bool on);

// Sets the palette's colours, keeping the ones they replace the first time;
// -1 puts those back.
void ApplyPalette(int palette);
