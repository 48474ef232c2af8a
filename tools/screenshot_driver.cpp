// Plays a few moves of Nonaro the way a player would and captures the screen,
// for the pictures in docs/. Run by tools/screenshot.sh inside a Wine desktop:
//
//   screenshot_driver.exe <nonaro.exe> <game.bmp> <solution.bmp>
//
// It starts the game, asks for a new grid, reads the solution from the
// solution window, fills the top band with the right digits, pencils in the
// candidates of a few cells, selects a cell with the pen and captures the main
// window while the selection shows; then opens the solution window and
// captures both windows. It only sends what a player's clicks and keys send.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const int kCellPitch = 51;
const COLORREF kGivenDigit = RGB(0, 0, 220);
const COLORREF kPenPatternField = RGB(255, 166, 166);

int Solution[81];
bool Given[81];
int Shown[81];  // what the grid holds: givens and the digits typed here

bool Fail(const char* what)
{
    std::fprintf(stderr, "screenshot_driver: %s\n", what);
    return false;
}

HWND WaitForWindow(const char* className, HWND owner)
{
    for (int i = 0; i < 300; ++i) {
        HWND found = NULL;
        while ((found = FindWindowExA(NULL, found, className, NULL)) != NULL) {
            if (!owner || GetWindow(found, GW_OWNER) == owner)
                return found;
        }
        Sleep(100);
    }
    return NULL;
}

void Pump(int milliseconds)
{
    Sleep(milliseconds);
}

void Command(HWND main, int id)
{
    SendMessageA(main, WM_COMMAND, id, 0);
}

void Click(HWND grid, int cell)
{
    const int x = (cell % 9) * kCellPitch + 25;
    const int y = (cell / 9) * kCellPitch + 25;
    SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Type(HWND grid, int digit)
{
    SendMessageA(grid, WM_CHAR, '0' + digit, 1);
}

// A given shows its digit in the givens' blue somewhere inside its cell.
// Read from the screen: another process's window DC gives no pixels here.
bool LooksGiven(HDC screen, HWND grid, int cell)
{
    POINT corner = {(cell % 9) * kCellPitch, (cell / 9) * kCellPitch};
    ClientToScreen(grid, &corner);
    for (int y = corner.y + 8; y < corner.y + 44; ++y)
        for (int x = corner.x + 8; x < corner.x + 44; ++x)
            if (GetPixel(screen, x, y) == kGivenDigit)
                return true;
    return false;
}

bool Allowed(int cell, int digit)
{
    for (int other = 0; other < 81; ++other) {
        if (other == cell || Shown[other] != digit)
            continue;
        const bool sameRow = other / 9 == cell / 9;
        const bool sameColumn = other % 9 == cell % 9;
        const bool sameBox = other / 27 == cell / 27 && (other % 9) / 3 == (cell % 9) / 3;
        if (sameRow || sameColumn || sameBox)
            return false;
    }
    return true;
}

bool SaveBitmap(const char* path, HDC source, const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + stride * height;
    bool ok = false;
    if (FILE* out = std::fopen(path, "wb")) {
        ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
             std::fwrite(bits, stride * height, 1, out) == 1;
        ok = std::fclose(out) == 0 && ok;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return ok;
}

RECT Union(HWND a, HWND b)
{
    RECT first, second, both;
    GetWindowRect(a, &first);
    if (!b)
        return first;
    GetWindowRect(b, &second);
    UnionRect(&both, &first, &second);
    return both;
}

bool Run(const char* game, const char* gameShot, const char* solutionShot)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH + 2];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\"", game);
    if (!CreateProcessA(game, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return Fail("cannot start the game");
    WaitForInputIdle(process.hProcess, 10000);

    HWND main = WaitForWindow("Nonarov2App", NULL);
    if (!main)
        return Fail("no main window");
    HWND grid = FindWindowExA(main, NULL, "WndGridClass", NULL);
    if (!grid)
        return Fail("no grid window");
    SetForegroundWindow(main);

    Command(main, 1000);  // Nouvelle grille
    Pump(300);
    Command(main, 1001);  // Solution
    HWND solution = WaitForWindow("NonaroSolutionClass", main);
    if (!solution)
        return Fail("no solution window");
    for (int cell = 0; cell < 81; ++cell) {
        char text[8] = "";
        GetDlgItemTextA(solution, 4000 + cell, text, sizeof(text));
        Solution[cell] = text[0] - '0';
        if (Solution[cell] < 1 || Solution[cell] > 9)
            return Fail("unreadable solution");
    }
    SendMessageA(solution, WM_CLOSE, 0, 0);
    Pump(300);

    HDC screen = GetDC(NULL);
    int givens = 0;
    for (int cell = 0; cell < 81; ++cell) {
        Given[cell] = LooksGiven(screen, grid, cell);
        Shown[cell] = Given[cell] ? Solution[cell] : 0;
        givens += Given[cell];
    }
    ReleaseDC(NULL, screen);
    if (givens < 17)
        return Fail("cannot tell the givens");

    // The top band, right digits only: its rows and boxes come out tinted.
    for (int cell = 0; cell < 27; ++cell) {
        if (Given[cell])
            continue;
        Click(grid, cell);
        Type(grid, Solution[cell]);
        Shown[cell] = Solution[cell];
    }
    // A few digits further down.
    const int more[] = {30, 40, 50, 64, 76};
    for (int cell : more) {
        if (Given[cell])
            continue;
        Click(grid, cell);
        Type(grid, Solution[cell]);
        Shown[cell] = Solution[cell];
    }
    // Candidates in some empty cells, with the pencil.
    Command(main, 1031);
    int pencilled = 0;
    for (int cell = 36; cell < 81 && pencilled < 6; cell += 4) {
        if (Shown[cell])
            continue;
        Click(grid, cell);
        for (int digit = 1; digit <= 9; ++digit)
            if (Allowed(cell, digit))
                Type(grid, digit);
        ++pencilled;
    }
    Command(main, 1030);

    // Let the clock count a little.
    Pump(4000);

    // Select an empty cell with the pen and capture while its pattern shows.
    int target = -1;
    for (int cell = 80; cell >= 27 && target < 0; --cell)
        if (!Shown[cell] && (cell % 9) > 2 && (cell % 9) < 6)
            target = cell;
    if (target < 0)
        return Fail("no empty cell to select");
    bool captured = false;
    for (int attempt = 0; attempt < 20 && !captured; ++attempt) {
        Click(grid, target);
        Pump(60);
        HDC screen = GetDC(NULL);
        POINT probe = {(target % 9) * kCellPitch + 3, (target / 9) * kCellPitch + 3};
        ClientToScreen(grid, &probe);
        if (GetPixel(screen, probe.x, probe.y) == kPenPatternField)
            captured = SaveBitmap(gameShot, screen, Union(main, NULL));
        ReleaseDC(NULL, screen);
        Pump(200);
    }
    if (!captured)
        return Fail("the selection never showed");

    // The solution window beside the game; a click on the grid's last pixel
    // row selects nothing.
    SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 459));
    SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(200, 459));
    Command(main, 1001);
    solution = WaitForWindow("NonaroSolutionClass", main);
    if (!solution)
        return Fail("no solution window the second time");
    Pump(800);
    screen = GetDC(NULL);
    const bool saved = SaveBitmap(solutionShot, screen, Union(main, solution));
    ReleaseDC(NULL, screen);
    if (!saved)
        return Fail("cannot write the solution picture");

    Command(main, 1005);  // Quitter
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: screenshot_driver <nonaro.exe> <game.bmp> <solution.bmp>\n");
        return 2;
    }
    return Run(argv[1], argv[2], argv[3]) ? 0 : 1;
}
