#pragma once

#include "platform.h"
#include "program_version.h"

// The texts more than one place shows, and the tests read back.
const char kProgramCaption[] = "Nonaro " NONARO_VERSION_TEXT;
const char kClockRestText[] = "00 : 00 : 00";
// The row clash and win texts have always been written without their
// accents ("meme", "reussi"); players and saved screenshots know them so, and
// they stay as they are.
const char kRowClashText[] = "Doublons sur la meme ligne";
const char kColumnClashText[] = "Doublons sur la m\xEAme colonne";
const char kBoxClashText[] = "Doublons dans le carr\xE9";
const char kClashCaption[] = "Doublons";
const char kWinText[] = " BRAVO!!!   Vous avez reussi.  ";

// The program's own texts are written in Windows-1252. The A entry points
// would read them in the system's code page and garble every accent on a
// Cyrillic or Japanese system, so they are widened here, always as 1252, and
// shown through the W entry points.
const UINT kProgramCodePage = 1252;

// One text widened; longer texts than any of the program's are cut short.
class WideText {
public:
    explicit WideText(const char* text);
    const WCHAR* get() const { return wide; }

private:
    WCHAR wide[512];
};

// MessageBoxW with the program's text and caption.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
