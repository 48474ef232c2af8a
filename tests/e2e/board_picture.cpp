#include "tests/e2e/board_picture.h"

#include <windows.h>

#include <cstdio>

#include "tests/e2e/grid_view.h"
#include "tests/e2e/soak_model.h"

namespace {

// A cell, and the part of it that the digit may cover and no border line
// touches, at the screen's scale.
int CellSide() { return Scaled(52); }
int Inside() { return Scaled(4); }
int InsideEnd() { return Scaled(48); }

bool PlayerInk(COLORREF c) { return GetRValue(c) < 70 && GetGValue(c) < 70 && GetBValue(c) < 70; }
bool GivenInk(COLORREF c) { return GetRValue(c) < 70 && GetGValue(c) < 70 && GetBValue(c) >= 140; }
bool MarkInk(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 110 && GetBValue(c) < 110; }

// Draws the digit as the board does: its font, the cell rectangle, one
// line centred both ways; dark pixels are ink.
std::vector<uint8_t> RenderGlyph(HDC dc, const DWORD* bits, int digit)
{
    RECT all = {0, 0, CellSide(), CellSide()};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    char text[2] = {static_cast<char>('0' + digit), 0};
    DrawTextA(dc, text, 1, &all, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    GdiFlush();
    std::vector<uint8_t> ink(CellSide() * CellSide());
    for (int i = 0; i < CellSide() * CellSide(); ++i) {
        ink[i] = PlayerInk(DibPixelColour(bits[i]));
    }
    return ink;
}

}  // namespace

BoardPicture::BoardPicture()
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(screen, CellSide(), CellSide(), &bits);
    LOGFONTA font = {};
    font.lfHeight = Scaled(32);
    font.lfWeight = FW_BOLD;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lstrcpyA(font.lfFaceName, "Times New Roman");
    HFONT digitFont = CreateFontIndirectA(&font);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, digitFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    for (int digit = 1; digit <= 9; ++digit)
        glyphs_[digit] = RenderGlyph(dc, static_cast<const DWORD*>(bits), digit);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(digitFont);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

CellReading BoardPicture::Read(const ScreenShot& grid, int cell) const
{
    int left = Scaled((cell % 9) * 51), top = Scaled((cell / 9) * 51);
    std::vector<uint8_t> ink(CellSide() * CellSide(), 0);
    int player = 0, given = 0;
    for (int y = Inside(); y < InsideEnd(); ++y)
        for (int x = Inside(); x < InsideEnd(); ++x) {
            COLORREF c = grid.At(left + x, top + y);
            bool isPlayer = PlayerInk(c), isGiven = GivenInk(c);
            player += isPlayer;
            given += isGiven;
            ink[y * CellSide() + x] = isPlayer || isGiven;
        }
    CellReading reading;
    if (player + given < 8)
        return reading;
    reading.given = given > player;
    int best = 0, bestDifference = 1 << 30, second = 1 << 30, inkCount = 0;
    for (int digit = 1; digit <= 9; ++digit) {
        int difference = 0, count = 0;
        for (int y = Inside(); y < InsideEnd(); ++y)
            for (int x = Inside(); x < InsideEnd(); ++x) {
                int i = y * CellSide() + x;
                difference += ink[i] != glyphs_[digit][i];
                count += glyphs_[digit][i];
            }
        if (difference < bestDifference) {
            second = bestDifference;
            best = digit;
            bestDifference = difference;
            inkCount = count;
        } else if (difference < second) {
            second = difference;
        }
    }
    reading.difference = bestDifference;
    reading.nextDifference = second;
    // A glyph drawn at another place, cut short or overdrawn differs from every
    // reference by far more than the few edge pixels that smoothing may turn.
    if (bestDifference > inkCount / 8 + 6 || bestDifference * 2 > second)
        reading.unreadable = true;
    else
        reading.digit = best;
    return reading;
}

unsigned BoardPicture::MarksShown(const ScreenShot& grid, int cell) const
{
    unsigned shown = 0;
    for (int k = 0; k < 9; ++k) {
        int left = (cell % 9) * 51 + (k % 3) * 17, top = (cell / 9) * 51 + (k / 3) * 17;
        int red = 0;
        for (int y = Scaled(top + 1); y < Scaled(top + 16); ++y)
            for (int x = Scaled(left + 1); x < Scaled(left + 16); ++x)
                red += MarkInk(grid.At(x, y));
        if (red >= 3)
            shown |= 1u << k;
    }
    return shown;
}

std::string BoardPicture::Compare(const ScreenShot& grid, const SoakModel& model, bool* selectionShown) const
{
    char why[256];
    *selectionShown = false;
    int selected = model.SelectionKnown() ? model.Selection() : -2;
    Back pattern = model.Tool() == 0 ? Back::Pen : model.Tool() == 1 ? Back::Pencil : Back::Other;
    for (int cell = 0; cell < 81; ++cell) {
        int value = model.Value(cell);
        CellReading reading = Read(grid, cell);
        if (reading.unreadable) {
            snprintf(why, sizeof why,
                     "cell %d shows ink that is no digit 1 to 9 (nearest differs by %d pixels), expected %d", cell,
                     reading.difference, value);
            return why;
        }
        if (reading.digit != value || (value != 0 && reading.given == model.Hidden(cell))) {
            snprintf(why, sizeof why, "cell %d shows %d%s, expected %d%s", cell, reading.digit,
                     reading.digit ? (reading.given ? " in blue" : " in black") : " (nothing)", value,
                     value ? (model.Hidden(cell) ? " in black" : " in blue") : " (nothing)");
            return why;
        }
        unsigned marks = 0;
        if (value == 0)
            for (int digit = 1; digit <= 9; ++digit)
                marks |= model.Mark(cell, digit) ? 1u << (digit - 1) : 0;
        unsigned shown = MarksShown(grid, cell);
        if (shown != marks) {
            snprintf(why, sizeof why, "cell %d shows the marks %03x, expected %03x", cell, shown, marks);
            return why;
        }
        Back back = LookAt(grid, cell).back;
        Back base = model.InCompleteGroup(cell) ? Back::Complete : Back::Plain;
        bool patterned = back == Back::Pen || back == Back::Pencil;
        if (selected == -2 && patterned)
            continue;  // the selection is not known; any one cell may show it
        if (cell == selected && back == pattern) {
            *selectionShown = true;
            continue;
        }
        if (back != base) {
            snprintf(why, sizeof why, "cell %d shows the %s background, expected %s%s", cell, BackName(back),
                     BackName(base), cell == selected ? " or the selection pattern" : "");
            return why;
        }
    }
    return "";
}
