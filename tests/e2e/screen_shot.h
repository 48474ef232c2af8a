#pragma once

// Pixels as the player sees them: a copy of a rectangle of the screen (the
// virtual desktop the scenario runs in), taken with BitBlt from the screen DC.

#include <windows.h>

#include <vector>

// A 96-DPI pixel quantity at the screen's scale, rounded as the game rounds
// its own: to the nearest pixel, halves away from zero. The scale is the
// system's, so a scenario plays at whatever scale its Wine prefix has; at
// 96 DPI every quantity is its own.
int Scaled(int pixels);

// A 32-bit top-down DIB section of the given size, whose pixels (0x00RRGGBB)
// stand in *bits; null when it could not be made.
HBITMAP CreateTopDownDib(HDC dc, int width, int height, void** bits);

inline COLORREF DibPixelColour(DWORD pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

class ScreenShot {
public:
    // Copies the screen rectangle; an empty shot when the copy failed.
    static ScreenShot Take(const RECT& screenRect);
    static ScreenShot WholeScreen();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    // The colour at (x, y) relative to the shot's top-left corner, as RGB();
    // CLR_INVALID outside the shot.
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle (shot coordinates, right and bottom
    // exclusive) have exactly that colour.
    int Count(const RECT& area, COLORREF colour) const;
    bool SaveBmp(const char* path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;  // 0x00RRGGBB, top-down rows
};
