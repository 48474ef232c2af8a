#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "play/grid_board.h"
#include "resources/program_ids.h"
#include "tests/ui/window_support.h"
#include "ui/display_scale.h"
#include "ui/grid/grid_window.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/main_window.h"
#include "ui/shell/solution_window.h"
#include "ui/shell/toolbar.h"

// The real main window over the process-wide objects, as the program builds
// it. The board takes one grid window for its whole life, so the suite shares
// one main window and its tests run in order; the last one quits.

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AppInstance = GetModuleHandleA(NULL);
        InitCommonControls();
        ASSERT_NE(RegisterMainClass(AppInstance), 0);
        ASSERT_NE(RegisterGridClass(), 0);
        ASSERT_NE(RegisterSolutionClass(), 0);
        main = CreateMainWindow(AppInstance);
        ASSERT_NE(main, nullptr);
        PumpMessages();
    }

    static void Command(int id)
    {
        SendMessageA(main, WM_COMMAND, id, 0);
        PumpMessages();
    }

    static LRESULT Toolbar(UINT message, WPARAM id) { return SendDlgItemMessageA(main, kToolbarId, message, id, 0); }

    static bool MenuHas(UINT id, UINT flag) { return (GetMenuState(GetMenu(main), id, MF_BYCOMMAND) & flag) != 0; }

    static std::string ClockText()
    {
        char text[32] = "";
        GetDlgItemTextA(GetDlgItem(main, kToolbarId), kClockLabelId, text, sizeof(text));
        return text;
    }

    static std::string CellText(HWND solution, int cell)
    {
        char text[8] = "";
        GetDlgItemTextA(solution, kFirstSolutionCellId + cell, text, sizeof(text));
        return text;
    }

    static LRESULT CellBrush(HWND solution, int cell)
    {
        HWND control = GetDlgItem(solution, kFirstSolutionCellId + cell);
        HDC dc = GetDC(control);
        const LRESULT brush =
            SendMessageA(solution, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        ReleaseDC(control, dc);
        return brush;
    }

    // Types the key, with the modifier held, as the keyboard does, into the
    // program's own message loop, which a timer ends once no input waits.
    static void Press(BYTE key, BYTE modifier = 0)
    {
        SetForegroundWindow(main);
        SetFocus(Board.window);
        const BYTE codes[] = {modifier, key, key, modifier};
        for (int i = 0; i < 4; ++i)
            if (codes[i])
                keybd_event(codes[i], 0, i < 2 ? 0 : KEYEVENTF_KEYUP, 0);
        SetTimer(NULL, 0, 200, EndLoop);
        RunMessageLoop(main);
    }

    static void CALLBACK EndLoop(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(NULL, timer);
        PostQuitMessage(0);
    }

    // What the grid's digits and marks, the clock label and the solution's
    // digits are drawn with; a control given no font draws with the system's.
    static std::vector<LOGFONTA> UsedFonts()
    {
        auto font = [](HWND parent, int id) {
            return reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(parent, id, WM_GETFONT, 0, 0));
        };
        const HGDIOBJ fonts[] = {Board.digitFont, Board.markFont, font(ToolbarWindow, kClockLabelId),
                                 font(Solution.window, kFirstSolutionCellId)};
        std::vector<LOGFONTA> used(4);
        for (size_t i = 0; i < used.size(); ++i) {
            HGDIOBJ stock = GetStockObject(i == 1 ? DEFAULT_GUI_FONT : SYSTEM_FONT);
            GetObjectA(fonts[i] ? fonts[i] : stock, sizeof used[i], &used[i]);
        }
        return used;
    }

    // A game started at 96 DPI draws the marks in the stock GUI font and the
    // two controls' digits in their default, the system font; at other
    // scales all three in the GUI font's face. The system makes its stock
    // fonts for its own DPI: a window at another has them brought to its own.
    static void ExpectTheFontsOfAGameStartedAt(int dpi)
    {
        HDC screen = GetDC(NULL);
        const int system = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(NULL, screen);
        const std::vector<LOGFONTA> used = UsedFonts();
        for (size_t i = 1; i < used.size(); ++i) {
            LOGFONTA stock = {};
            const int made = i == 1 || dpi != kBaseDpi ? DEFAULT_GUI_FONT : SYSTEM_FONT;
            GetObjectA(GetStockObject(made), sizeof stock, &stock);
            EXPECT_EQ(used[i].lfHeight, MulDiv(stock.lfHeight, dpi, system)) << dpi << " " << i;
            EXPECT_STREQ(used[i].lfFaceName, stock.lfFaceName) << dpi << " " << i;
        }
    }

    static HWND main;
};

HWND MainWindowTest::main = NULL;

TEST_F(MainWindowTest, StartsWithAnEmptyGridCentredBelowTheToolbar)
{
    HWND grid = FindWindowExA(main, NULL, kGridClassName, NULL);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid, Board.window);
    RECT client, toolbar, area;
    GetClientRect(main, &client);
    GetWindowRect(GetDlgItem(main, kToolbarId), &toolbar);
    GetWindowRect(grid, &area);
    MapWindowPoints(NULL, main, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.left, (client.right - 459) / 2);
    const int bar = toolbar.bottom - toolbar.top;
    EXPECT_EQ(area.top, bar + (client.bottom - bar - 459) / 2);
    for (int cell = 0; cell < kCellCount; ++cell)
        ASSERT_EQ(PlayerGrid[cell], 0);
    EXPECT_EQ(ClockText(), kClockRestText);
    EXPECT_TRUE(GetMenuState(GetMenu(main), 2, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(MainWindowTest, ShortcutsActAsTheirMenuItemsOnlyWhileThoseCanBeChosen)
{
    MessageBoxCatcher dialogs;
    for (BYTE key : {'S', 'P', 'Z'})
        Press(key, VK_CONTROL);
    Press('G');
    EXPECT_TRUE(dialogs.count() == 0 && Board.toolMode == kPenTool) << "nothing before a game";
    Press('N', VK_CONTROL);
    ASSERT_TRUE(Toolbar(TB_ISBUTTONENABLED, IDM_SAVE)) << "Ctrl+N made a game";
    Press('G', VK_SHIFT);
    EXPECT_TRUE(MenuHas(IDM_ERASER, MF_CHECKED) && Toolbar(TB_ISBUTTONCHECKED, IDM_ERASER) &&
                Board.toolMode == kEraserTool);
    Press('S');
    EXPECT_TRUE(MenuHas(IDM_PEN, MF_CHECKED) && Toolbar(TB_ISBUTTONCHECKED, IDM_PEN) && Board.toolMode == kPenTool);
    int cell = 0;
    while (Puzzle.mask[cell] != kHidden)
        ++cell;
    Board.selectedCell = cell;
    SendMessageA(Board.window, WM_CHAR, '0' + Puzzle.values[cell], 0);
    Press('Z', VK_CONTROL);
    EXPECT_EQ(PlayerGrid[cell], 0) << "Ctrl+Z";
    Press('Y', VK_CONTROL);
    EXPECT_EQ(PlayerGrid[cell], Puzzle.values[cell]) << "Ctrl+Y";
    Press('O', VK_CONTROL);
    EXPECT_EQ(dialogs.caption(), "Ouvrir un fichier Nonaro...");
}

TEST_F(MainWindowTest, LevelCommandsCheckOneLevelAndLeaveTheGameAlone)
{
    const struct {
        const char* name;
        UINT command;
        int level;
    } levels[] = {{"Moyen", IDM_MEDIUM_LEVEL, 1}, {"Difficile", IDM_HARD_LEVEL, 2}, {"Facile", IDM_EASY_LEVEL, 0}};
    PlayerGrid[3] = 6;
    for (const auto& row : levels) {
        SCOPED_TRACE(row.name);
        Command(row.command);
        EXPECT_EQ(DifficultyLevel, row.level);
        for (UINT id : {IDM_EASY_LEVEL, IDM_MEDIUM_LEVEL, IDM_HARD_LEVEL})
            EXPECT_EQ(MenuHas(id, MF_CHECKED), id == row.command) << id;
        EXPECT_EQ(PlayerGrid[3], 6);
    }
    PlayerGrid[3] = 0;
}

TEST_F(MainWindowTest, NewGameLaysOutTheGivensAndEnablesTheGameCommands)
{
    Command(IDM_NEW_GAME);
    int givens = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const bool given = Puzzle.mask[cell] == kGiven;
        givens += given;
        EXPECT_EQ(PlayerGrid[cell], given ? Puzzle.values[cell] : 0) << cell;
    }
    EXPECT_GE(givens, 17);
    EXPECT_EQ(Board.toolMode, kPenTool);
    EXPECT_EQ(Board.selectedCell, kNoCell);
    for (WPARAM id : {IDM_SAVE, IDM_SOLUTION, IDM_PRINT, IDM_PEN, IDM_PENCIL, IDM_ERASER})
        EXPECT_TRUE(Toolbar(TB_ISBUTTONENABLED, id)) << id;
    for (WPARAM id : {IDM_UNDO, IDM_REDO})
        EXPECT_FALSE(Toolbar(TB_ISBUTTONENABLED, id)) << id;
    for (UINT id : {IDM_SAVE, IDM_SOLUTION, IDM_PRINT})
        EXPECT_FALSE(MenuHas(id, MF_GRAYED)) << id;
    EXPECT_FALSE(GetMenuState(GetMenu(main), 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(ClockText(), kClockRestText);
}

TEST_F(MainWindowTest, ToolCommandsLeaveExactlyOneToolCheckedInBothPlaces)
{
    const struct {
        const char* name;
        UINT command;
        int tool;
        bool clickedWhileChecked;
    } tools[] = {{"Crayon", IDM_PENCIL, kPencilTool, false},
                 {"Gomme", IDM_ERASER, kEraserTool, false},
                 {"Stylo", IDM_PEN, kPenTool, true}};
    for (const auto& row : tools) {
        SCOPED_TRACE(row.name);
        // A click on the checked button unchecks it before the command arrives.
        if (row.clickedWhileChecked) {
            Command(row.command);
            SendDlgItemMessageA(main, kToolbarId, TB_CHECKBUTTON, row.command, 0);
        }
        Command(row.command);
        EXPECT_EQ(Board.toolMode, row.tool);
        for (UINT id : {IDM_PEN, IDM_PENCIL, IDM_ERASER}) {
            EXPECT_EQ(Toolbar(TB_ISBUTTONCHECKED, id) != 0, id == row.command) << id;
            EXPECT_EQ(MenuHas(id, MF_CHECKED), id == row.command) << id;
        }
    }
}

TEST_F(MainWindowTest, ADroppedGameOpensAsOuvrirDoesButNotDuringGeneration)
{
    wchar_t folder[MAX_PATH], recent[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    SHGetFolderPathW(NULL, CSIDL_RECENT, NULL, SHGFP_TYPE_CURRENT, recent);
    const std::wstring path = std::wstring(folder) + L"partie gliss\u00E9e.nro";
    const std::wstring list = path + L'\0' + folder + L"absente.nro" + L'\0';
    const std::wstring link = std::wstring(recent) + L"\\partie gliss\u00E9e.nro.lnk";
    SaveGameAs(main, path.c_str());
    EXPECT_TRUE(DeleteFileW(link.c_str())) << "the save is among the recent documents";
    const int16_t saved = PlayerGrid[80], changed = saved % 9 + 1;
    PlayerGrid[80] = changed;
    MessageBoxCatcher boxes;
    for (bool busy : {true, false}) {
        // As Explorer drops two files.
        HGLOBAL drop = GlobalAlloc(GMEM_ZEROINIT, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
        DROPFILES* files = static_cast<DROPFILES*>(drop);
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        list.copy(reinterpret_cast<wchar_t*>(files + 1), list.size());
        Board.toolMode |= busy ? kBusyFlag : 0;
        SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        Board.toolMode &= ~kBusyFlag;
        EXPECT_EQ(PlayerGrid[80], busy ? changed : saved) << busy;
    }
    EXPECT_EQ(boxes.count(), 0) << "only the first file is opened";
    EXPECT_TRUE(DeleteFileW(link.c_str())) << "the open is among the recent documents";
    DeleteFileW(path.c_str());
}

TEST_F(MainWindowTest, SolutionWindowOpensOnceBesideTheMainWindow)
{
    Command(IDM_SOLUTION);
    HWND solution = Solution.window;
    ASSERT_NE(solution, nullptr);
    EXPECT_EQ(GetWindow(solution, GW_OWNER), main);
    RECT owner, area, client;
    GetWindowRect(main, &owner);
    GetWindowRect(solution, &area);
    GetClientRect(solution, &client);
    EXPECT_EQ(area.left, owner.left + 300);
    EXPECT_EQ(area.top, owner.top + 150);
    EXPECT_EQ(client.right, 271);
    EXPECT_EQ(client.bottom, 271);
    EXPECT_TRUE(GetWindowLongA(solution, GWL_EXSTYLE) & WS_EX_TOPMOST);

    for (int cell = 0; cell < kCellCount; ++cell)
        ASSERT_EQ(CellText(solution, cell), std::to_string(Puzzle.values[cell])) << cell;
    // Boxes stand apart by a line of background.
    RECT third, fourth;
    GetWindowRect(GetDlgItem(solution, kFirstSolutionCellId + 2), &third);
    GetWindowRect(GetDlgItem(solution, kFirstSolutionCellId + 3), &fourth);
    EXPECT_EQ(third.right - third.left, 29);
    EXPECT_EQ(fourth.left - third.right, 1);

    Command(IDM_SOLUTION);
    EXPECT_EQ(Solution.window, solution);
    int windows = 0;
    for (HWND found = NULL; (found = FindWindowExA(NULL, found, kSolutionClassName, NULL)) != NULL;)
        ++windows;
    EXPECT_EQ(windows, 1);
}

TEST_F(MainWindowTest, SolutionCellsToFindAreWhiteAndGivensKeepTheDefault)
{
    HWND solution = Solution.window;
    ASSERT_NE(solution, nullptr);
    int hidden = -1, given = -1;
    for (int cell = 0; cell < kCellCount; ++cell)
        (Puzzle.mask[cell] == kGiven ? given : hidden) = cell;
    ASSERT_NE(hidden, -1);
    ASSERT_NE(given, -1);
    const LRESULT white = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(CellBrush(solution, hidden), white);
    EXPECT_NE(CellBrush(solution, given), white);
}

TEST_F(MainWindowTest, AnOpenSolutionWindowFollowsTheNextGame)
{
    HWND solution = Solution.window;
    ASSERT_NE(solution, nullptr);
    // Until the new game is made, the window shows this one's solution;
    // afterwards every digit must be the new game's.
    Command(IDM_NEW_GAME);
    ASSERT_EQ(Solution.window, solution);
    for (int cell = 0; cell < kCellCount; ++cell)
        ASSERT_EQ(CellText(solution, cell), std::to_string(Puzzle.values[cell])) << cell;
}

TEST_F(MainWindowTest, ClosedSolutionWindowCanBeOpenedAgain)
{
    SendMessageA(Solution.window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_EQ(Solution.window, nullptr);
    Solution.Rescale(144);
    EXPECT_EQ(Solution.cellFont, nullptr) << "a font made for no window";
    Command(IDM_SOLUTION);
    ASSERT_NE(Solution.window, nullptr);
    EXPECT_EQ(CellText(Solution.window, 80), std::to_string(Puzzle.values[80]));
}

TEST_F(MainWindowTest, AFailedSaveIsToldInABoxOwnedByTheMainWindow)
{
    MessageBoxCatcher boxes;
    SaveGameAs(main, L"C:\\nonaro-no-such-folder\\partie.nro");
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.caption(), kProgramCaption);
    EXPECT_EQ(boxes.text(), std::string(kSaveFailedText));
    EXPECT_EQ(boxes.owner(), main);

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"nonaro-ui-test.nro";
    SaveGameAs(main, path.c_str());
    EXPECT_EQ(boxes.count(), 1);
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file));
    EXPECT_EQ(file.nFileSizeLow, 1142u);
    DeleteFileW(path.c_str());
}

TEST_F(MainWindowTest, AboutBoxNamesTheProgramAndItsVersion)
{
    MessageBoxCatcher boxes;
    Command(IDM_ABOUT);
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.caption(), " A propos de...");
    EXPECT_NE(boxes.text().find("NONARO"), std::string::npos);
    EXPECT_NE(boxes.text().find(NONARO_VERSION_TEXT), std::string::npos);
    EXPECT_EQ(boxes.owner(), main);
}

TEST_F(MainWindowTest, TooltipRequestsAreAnsweredAndOtherNotificationsIgnored)
{
    TOOLTIPTEXTA request = {};
    request.hdr.hwndFrom = NULL;
    request.hdr.idFrom = IDM_SOLUTION;
    request.hdr.code = TTN_NEEDTEXTA;
    request.lpszText = request.szText;
    EXPECT_EQ(SendMessageA(main, WM_NOTIFY, IDM_SOLUTION, reinterpret_cast<LPARAM>(&request)), 0);
    EXPECT_STREQ(request.szText, "Afficher la solution");

    TOOLTIPTEXTA other = {};
    other.hdr.code = NM_CLICK;
    other.lpszText = other.szText;
    EXPECT_EQ(SendMessageA(main, WM_NOTIFY, IDM_SOLUTION, reinterpret_cast<LPARAM>(&other)), 0);
    EXPECT_STREQ(other.szText, "");

    // The toolbar asks for wide notifications and gets them.
    EXPECT_EQ(SendMessageA(main, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(ToolbarWindow), NF_QUERY), NFR_UNICODE);
    EXPECT_TRUE(SendMessageA(ToolbarWindow, TB_GETUNICODEFORMAT, 0, 0));
    TOOLTIPTEXTW wide = {};
    wide.hdr.code = TTN_NEEDTEXTW;
    wide.lpszText = wide.szText;
    EXPECT_EQ(SendMessageA(main, WM_NOTIFY, IDM_REDO, reinterpret_cast<LPARAM>(&wide)), 0);
    EXPECT_STREQ(wide.szText, L"R\u00E9p\u00E9ter la derni\u00E8re annulation");
}

// Windows sends WM_DPICHANGED when the window moves to a monitor of another
// scale; here it is sent by hand to the real windows, from the scale they
// start at to the other of 96 and 144 DPI and back. CTest runs it once more
// alone, in a prefix whose system DPI is 144.
TEST_F(MainWindowTest, AChangeOfScaleRescalesEveryWindowAndLeavesTheGameAlone)
{
    if (!Solution.window) {
        Command(IDM_NEW_GAME);
        Command(IDM_SOLUTION);
    }
    ASSERT_NE(Solution.window, nullptr);
    int16_t grid[kCellCount];
    uint8_t marks[kMarkCount];
    std::memcpy(grid, PlayerGrid, sizeof grid);
    std::memcpy(marks, PencilMarks, sizeof marks);
    const int32_t selected = Board.selectedCell;
    const HistoryNode* entry = Board.currentEntry;
    const std::string clock = ClockText();
    const bool clockRunning = Board.clockRunning != 0;
    const int start = Board.dpi;
    ASSERT_EQ(start, WindowDpi(main));
    RECT outerAtStart, gridAtStart;
    GetWindowRect(main, &outerAtStart);
    GetWindowRect(Board.window, &gridAtStart);
    const LRESULT buttonAtStart = Toolbar(TB_GETBUTTONSIZE, 0);
    const std::vector<LOGFONTA> fontsAtStart = UsedFonts();

    // Every drawing object made for one scale is gone once the next is in use.
    std::vector<HGDIOBJ> released;
    auto scaledObjects = [] {
        const HGDIOBJ labelFont =
            reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(ToolbarWindow, kClockLabelId, WM_GETFONT, 0, 0));
        return std::vector<HGDIOBJ>{
            Board.digitFont, Board.markFont,   Board.penSelectionBrush, Board.pencilSelectionBrush,
            labelFont,       Solution.cellFont};
    };
    for (int dpi : {start == kBaseDpi ? 144 : kBaseDpi, start}) {
        for (HGDIOBJ object : scaledObjects())
            if (object)
                released.push_back(object);
        const int from = Board.dpi;
        RECT outer, solutionOuter;
        GetWindowRect(main, &outer);
        GetWindowRect(Solution.window, &solutionOuter);
        RECT suggested = outerAtStart;
        if (dpi != start)
            SetRect(&suggested, outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, from),
                    outer.top + MulDiv(outer.bottom - outer.top, dpi, from));
        SendMessageA(main, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT solutionSuggested = solutionOuter;
        solutionSuggested.right = solutionOuter.left + MulDiv(solutionOuter.right - solutionOuter.left, dpi, from);
        solutionSuggested.bottom = solutionOuter.top + MulDiv(solutionOuter.bottom - solutionOuter.top, dpi, from);
        SendMessageA(Solution.window, kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&solutionSuggested));
        PumpMessages();

        EXPECT_EQ(Board.dpi, dpi);
        // The toolbar is made anew: the clock writes to the one in the window.
        ASSERT_EQ(ToolbarWindow, GetDlgItem(main, kToolbarId)) << dpi;
        RECT client, toolbar, area, cell, label;
        GetClientRect(main, &client);
        GetWindowRect(ToolbarWindow, &toolbar);
        GetWindowRect(Board.window, &area);
        MapWindowPoints(NULL, main, reinterpret_cast<POINT*>(&area), 2);
        EXPECT_EQ(area.right - area.left, ScaledPixels(460, dpi)) << dpi;
        const POINT origin = GridWindowOrigin(client, toolbar.bottom - toolbar.top, dpi);
        EXPECT_EQ(area.left, origin.x) << dpi;
        EXPECT_EQ(area.top, origin.y) << dpi;
        EXPECT_GE(area.top, toolbar.bottom - toolbar.top) << dpi;
        EXPECT_LE(area.right, client.right) << dpi;
        EXPECT_LE(area.bottom, client.bottom) << dpi;
        // The toolbar widens buttons that the pictures and its margins outgrow.
        const LRESULT button = Toolbar(TB_GETBUTTONSIZE, 0);
        EXPECT_GE(LOWORD(button), ScaledPixels(24, dpi)) << dpi;
        EXPECT_GE(HIWORD(button), ScaledPixels(22, dpi)) << dpi;
        if (dpi == start) {
            EXPECT_EQ(button, buttonAtStart);
        }
        GetWindowRect(GetDlgItem(ToolbarWindow, kClockLabelId), &label);
        EXPECT_EQ(label.right - label.left, ScaledPixels(100, dpi)) << dpi;
        EXPECT_EQ(label.bottom - label.top, ScaledPixels(22, dpi)) << dpi;
        GetWindowRect(GetDlgItem(Solution.window, kFirstSolutionCellId), &cell);
        EXPECT_EQ(cell.right - cell.left, ScaledPixels(31, dpi)) << dpi;
        for (HGDIOBJ object : released)
            EXPECT_EQ(GetObjectType(object), 0u) << dpi << ": a drawing object of the old scale is left";
        ExpectTheFontsOfAGameStartedAt(dpi);

        EXPECT_EQ(0, std::memcmp(grid, PlayerGrid, sizeof grid)) << dpi;
        EXPECT_EQ(0, std::memcmp(marks, PencilMarks, sizeof marks)) << dpi;
        EXPECT_EQ(Board.selectedCell, selected) << dpi;
        EXPECT_EQ(Board.currentEntry, entry) << dpi;
        EXPECT_EQ(Board.clockRunning != 0, clockRunning) << dpi;
        if (!clockRunning) {
            EXPECT_EQ(ClockText(), clock) << dpi;
        }
        for (WPARAM id : {IDM_SAVE, IDM_SOLUTION, IDM_PRINT, IDM_PEN, IDM_PENCIL, IDM_ERASER})
            EXPECT_TRUE(Toolbar(TB_ISBUTTONENABLED, id)) << dpi << " " << id;
    }
    RECT outer, area;
    GetWindowRect(main, &outer);
    GetWindowRect(Board.window, &area);
    EXPECT_TRUE(EqualRect(&outer, &outerAtStart));
    EXPECT_TRUE(EqualRect(&area, &gridAtStart));
    const std::vector<LOGFONTA> fonts = UsedFonts();
    for (size_t i = 0; i < fonts.size(); ++i)
        EXPECT_EQ(0, std::memcmp(&fonts[i], &fontsAtStart[i], sizeof fonts[i])) << i;
}

TEST_F(MainWindowTest, QuitClosesEveryWindowAndEndsTheLoop)
{
    ASSERT_NE(Solution.window, nullptr);
    SendMessageA(main, WM_COMMAND, IDM_QUIT, 0);
    MSG msg = {};
    bool quit = false;
    const DWORD start = GetTickCount();
    while (!quit && GetTickCount() - start < 10000) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                break;
            }
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    EXPECT_TRUE(quit);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(Solution.window, nullptr);
}

}  // namespace
