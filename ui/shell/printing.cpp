#include "ui/shell/printing.h"

#include <cstddef>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "play/system_libraries.h"
#include "ui/shell/app_objects.h"

namespace {

#ifndef _WIN64
// The shipped program is 32-bit, where these are the sizes the print
// dialog and the spooler check; the 64-bit build's pointers make them larger.
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA is not the 32-bit layout");
static_assert(sizeof(DOCINFOA) == 20, "DOCINFOA is not the 32-bit layout");
#endif

const char* const kDocumentName = "Impression NONARO";
const char* const kPageTitles[2] = {"NONARO par Torvel1", "Solution NONARO"};

// The page layout in millimetres from the device origin.
const int kGridLeft = 50;
const int kGridTop = 30;
const int kCellSize = 10;
const int kBoxSize = 30;
const int kGridSize = 90;
const int kTitleLeft = 50;
const int kTitleTop = 15;
const int kTitleRight = 160;
const int kTitleBottom = 22;
const int kFontHeight = 5;
// Device units, not millimetres: a fixed number of pixels whatever the
// printer's resolution.
const int kRuleWidth = 8;

// Printed positions are the single-precision product truncated toward zero,
// never rounded: rounding would move some lines and boxes by a pixel.
int ToDevice(int millimetres, float perMillimetre)
{
    const float scaled = static_cast<float>(millimetres) * perMillimetre;
    return static_cast<int>(scaled);
}

HFONT CreatePrintFont(float py)
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    font.lfHeight = -ToDevice(kFontHeight, py);
    font.lfWeight = FW_BOLD;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lstrcpyA(font.lfFaceName, "Times New Roman");
    return CreateFontIndirectA(&font);
}

void DrawRules(HDC dc, float px, float py)
{
    const int left = ToDevice(kGridLeft, px);
    const int right = ToDevice(kGridLeft + kGridSize, px);
    for (int y = kGridTop; y <= kGridTop + kGridSize; y += kBoxSize) {
        MoveToEx(dc, left, ToDevice(y, py), NULL);
        LineTo(dc, right, ToDevice(y, py));
    }
    const int top = ToDevice(kGridTop, py);
    const int bottom = ToDevice(kGridTop + kGridSize, py);
    for (int x = kGridLeft; x <= kGridLeft + kGridSize; x += kBoxSize) {
        MoveToEx(dc, ToDevice(x, px), top, NULL);
        LineTo(dc, ToDevice(x, px), bottom);
    }
}

}  // namespace

const PrintJobCalls kPlatformPrintJob = {StartDocA, StartPage, EndPage, EndDoc, AbortDoc};

void DrawPrintCell(HDC dc, int left, int top, int right, int bottom, const char* text)
{
    HGDIOBJ keptPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ keptBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, left, top, right, bottom);
    if (text) {
        // Inside the outline, so that the digit never paints over it.
        RECT inside = {left + 1, top + 1, right - 1, bottom - 1};
        DrawTextA(dc, text, -1, &inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, keptPen);
    SelectObject(dc, keptBrush);
}

void DrawPrintPage(HDC dc, float px, float py, int page)
{
    HPEN rulePen = CreatePen(PS_SOLID, kRuleWidth, RGB(0, 0, 0));
    HFONT font = CreatePrintFont(py);
    SelectObject(dc, font);

    RECT title = {ToDevice(kTitleLeft, px), ToDevice(kTitleTop, py), ToDevice(kTitleRight, px),
                  ToDevice(kTitleBottom, py)};
    DrawTextA(dc, page == 0 ? kPageTitles[0] : kPageTitles[1], -1, &title, DT_SINGLELINE);

    for (int cell = 0; cell < kCellCount; ++cell) {
        const int left = kGridLeft + kCellSize * CellColumn(cell);
        const int top = kGridTop + kCellSize * CellRow(cell);
        // The grid page shows what the player has, right or wrong; the
        // solution page the solution. Pencil marks are not printed.
        int value = Puzzle.values[cell];
        if (Puzzle.mask[cell] != kGiven && page == 0)
            value = PlayerGrid[cell];
        char text[16];
        if (value != 0)
            wsprintfA(text, "%i", value);
        DrawPrintCell(dc, ToDevice(left, px), ToDevice(top, py), ToDevice(left + kCellSize, px),
                      ToDevice(top + kCellSize, py), value != 0 ? text : NULL);
    }

    // Over the cell outlines: the frame of the grid and of its boxes.
    SelectObject(dc, rulePen);
    DrawRules(dc, px, py);

    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(font);
    DeleteObject(rulePen);
}

PrintCopies CopiesToPrint(const PRINTDLGA& dialog, const DEVMODEA* settings)
{
    // Asking the printer for copies and printing them again would give the
    // square of the count.
    const size_t copiesEnd = offsetof(DEVMODEA, dmCopies) + sizeof settings->dmCopies;
    const bool printerCopies =
        settings && settings->dmSize >= copiesEnd && (settings->dmFields & DM_COPIES) && settings->dmCopies > 1;
    if (printerCopies)
        return {1, false};
    return {dialog.nCopies > 1 ? dialog.nCopies : 1, (dialog.Flags & PD_COLLATE) != 0};
}

void PrintDocument(HDC dc, const DOCINFOA* document, const PrintJobCalls& calls, PrintCopies copies)
{
    const float px = GetDeviceCaps(dc, LOGPIXELSX) / 25.4f;
    const float py = GetDeviceCaps(dc, LOGPIXELSY) / 25.4f;
    if (calls.startDoc(dc, document) <= 0)
        return;
    // From here on the job is in the queue: it must be ended or aborted, or
    // a half document stays there for good.
    const int count = copies.count > 1 ? copies.count : 1;
    const int sheets = 2 * count;
    for (int sheet = 0; sheet < sheets; ++sheet) {
        const int page = copies.collated ? sheet % 2 : sheet / count;
        const bool started = calls.startPage(dc) > 0;
        if (sheet == 0) {
            if (!started) {
                calls.abortDoc(dc);
                return;
            }
            SetMapMode(dc, MM_TEXT);
            SetBkMode(dc, TRANSPARENT);
        }
        DrawPrintPage(dc, px, py, page);
        const bool ended = calls.endPage(dc) > 0;
        // Only the last page's end decides how the job ends; a page before it
        // that could be neither started nor ended means the spooler has
        // dropped the job (cancelled in the queue), and the copies still to
        // come would be drawn for nothing.
        if (sheet == sheets - 1 || (!started && !ended)) {
            if (ended)
                calls.endDoc(dc);
            else
                calls.abortDoc(dc);
            return;
        }
    }
}

int PrintGame(HWND owner)
{
    DOCINFOA document;
    ZeroMemory(&document, sizeof document);
    document.cbSize = sizeof document;
    document.lpszDocName = kDocumentName;

    // Without PD_USEDEVMODECOPIESANDCOLLATE the copies asked for in the
    // dialog are the program's to print.
    PRINTDLGA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    const BOOL chosen = SystemLibrary::PrintDlgA(&dialog);
    // The device context was made from the printer settings the dialog hands
    // over; they tell who makes the copies, and are read before being freed.
    const DEVMODEA* settings = dialog.hDevMode ? static_cast<const DEVMODEA*>(GlobalLock(dialog.hDevMode)) : NULL;
    const PrintCopies copies = CopiesToPrint(dialog, settings);
    if (settings)
        GlobalUnlock(dialog.hDevMode);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    if (!chosen || !dialog.hDC)
        return 0;

    PrintDocument(dialog.hDC, &document, kPlatformPrintJob, copies);
    DeleteDC(dialog.hDC);
    return 1;
}
