#include "ui/shell/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "play/file_dialogs.h"
#include "play/game_file.h"
#include "play/grid_board.h"
#include "play/program_text.h"
#include "ui/display_scale.h"
#include "play/grid_geometry.h"
#include "ui/grid/grid_window.h"
#include "ui/shell/about_box.h"
#include "ui/shell/app_objects.h"
#include "resources/program_ids.h"
#include "ui/shell/printing.h"
#include "ui/shell/toolbar.h"

const char kSaveFailedText[] =
    "La partie n'a pas pu \xEAtre enregistr\xE9"
    "e.\n\nLe fichier existant n'a pas \xE9t\xE9 modifi\xE9.";

namespace {

// Takes the refused file's name for its %s.
const char kOpenRefusedText[] =
    "Le fichier \xAB\xA0%s\xA0\xBB n'a pas pu \xEAtre ouvert comme partie Nonaro."
    "\n\nLa grille n'a pas \xE9t\xE9 modifi\xE9"
    "e.";

// The " Outils " popup's position on the menu bar: it is enabled by position.
const int kToolsMenuPosition = 2;

// The outer size at 96 DPI with the system's 96-DPI metrics; at any other
// scale it is the client area this leaves, scaled, in that scale's frame.
const int kMainWidth = 480;
const int kMainHeight = 554;
const DWORD kMainStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

SIZE FrameSize(int dpi)
{
    const RECT frame = WindowFrameForDpi(kMainStyle, TRUE, 0, dpi);
    SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    return size;
}

SIZE MainWindowSize(int dpi)
{
    const SIZE base = FrameSize(kBaseDpi);
    const SIZE frame = FrameSize(dpi);
    SIZE size = {ScaledPixels(kMainWidth - base.cx, dpi) + frame.cx,
                 ScaledPixels(kMainHeight - base.cy, dpi) + frame.cy};
    return size;
}

// Grows the window just enough for the toolbar and the grid where taller
// caption or menu metrics leave less client area than they need.
void MakeRoomForGrid(HWND mainWindow, int dpi)
{
    RECT client = {0, 0, 0, 0};
    RECT toolbar = {0, 0, 0, 0};
    GetClientRect(mainWindow, &client);
    GetWindowRect(GetDlgItem(mainWindow, kToolbarId), &toolbar);
    const int grid = GridGeometry(dpi).WindowSize();
    const int wider = grid - client.right;
    const int taller = toolbar.bottom - toolbar.top + grid - client.bottom;
    if (wider <= 0 && taller <= 0)
        return;
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    SetWindowPos(mainWindow, NULL, 0, 0, outer.right - outer.left + (wider > 0 ? wider : 0),
                 outer.bottom - outer.top + (taller > 0 ? taller : 0),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateContents(HWND mainWindow)
{
    const int dpi = WindowDpi(mainWindow);
    const SIZE wanted = MainWindowSize(dpi);
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    if (outer.right - outer.left != wanted.cx || outer.bottom - outer.top != wanted.cy)
        SetWindowPos(mainWindow, NULL, 0, 0, wanted.cx, wanted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The grid window's placement reads the toolbar's height.
    CreateToolbar(mainWindow, dpi);
    MakeRoomForGrid(mainWindow, dpi);
    CreateGridWindow(&Board, mainWindow);
}

void ChangeScale(HWND mainWindow, int dpi, const RECT* suggested)
{
    if (suggested)
        SetWindowPos(mainWindow, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    RebuildToolbar(mainWindow, dpi);
    MakeRoomForGrid(mainWindow, dpi);
    RescaleGridWindow(&Board, mainWindow, dpi);
}

LRESULT SendToToolbar(HWND mainWindow, UINT message, WPARAM commandId, LPARAM flag)
{
    return SendDlgItemMessageA(mainWindow, kToolbarId, message, commandId, flag);
}

void NewGame(HWND mainWindow)
{
    // The whole generation runs here; the busy value shows the wait cursor
    // over the grid and keeps every rule of the board off meanwhile.
    Board.MarkBusy();
    Board.ResetClock();
    GenerateNewGame(&Puzzle, DifficultyLevel);
    Board.StartGame();
    EnableGameCommands(mainWindow);
    Solution.Refresh();
}

void OpenGame(HWND mainWindow)
{
    WCHAR path[MAX_PATH];
    if (ChooseOpenFile(mainWindow, path))
        OpenGameFrom(mainWindow, path);
}

// The file name alone: the folder would only make the message long.
void TellOpenRefused(HWND mainWindow, const WCHAR* path)
{
    WCHAR text[1024];
    wsprintfW(text, WideText(kOpenRefusedText).get(), PathFindFileNameW(path));
    MessageBoxW(mainWindow, text, WideText(kProgramCaption).get(), MB_OK | MB_ICONWARNING);
}

// Only the first of several files dropped at once is opened. Generation
// runs inside a command, so no drop can arrive during it; the busy value is
// looked at all the same, as every other way into the board does.
void OpenDroppedGame(HWND mainWindow, HDROP drop)
{
    WCHAR path[MAX_PATH];
    if (!(Board.toolMode & kBusyFlag) && DragQueryFileW(drop, 0, path, MAX_PATH))
        OpenGameFrom(mainWindow, path);
    DragFinish(drop);
}

// A shortcut key, or a tool's letter in the grid, arrives as a command with
// the notification code 1. It counts only where its menu item could be
// chosen: the tools' items are usable exactly while their popup is.
bool ShortcutAllowed(HWND mainWindow, int command)
{
    if (Board.toolMode & kBusyFlag)
        return false;
    HMENU menu = GetMenu(mainWindow);
    const bool tool = command >= kPenCommand && command <= kEraserCommand;
    const UINT state = tool ? GetMenuState(menu, kToolsMenuPosition, MF_BYPOSITION)
                            : GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void SaveGame(HWND mainWindow)
{
    WCHAR path[MAX_PATH];
    if (ChooseSaveFile(mainWindow, path))
        SaveGameAs(mainWindow, path);
}

void ChooseLevel(HWND mainWindow, int command)
{
    HMENU menu = GetMenu(mainWindow);
    for (int id = kEasyLevelCommand; id <= kHardLevelCommand; ++id)
        CheckMenuItem(menu, id, MF_UNCHECKED);
    CheckMenuItem(menu, command, MF_CHECKED);
    // The game in play is left alone: the level applies from the next new grid.
    DifficultyLevel = command - kEasyLevelCommand;
}

void ChooseTool(HWND mainWindow, int command)
{
    HMENU menu = GetMenu(mainWindow);
    // A tool button toggles itself before the command arrives, so a click on
    // the checked one has unchecked it; this leaves exactly the chosen one
    // checked whatever the buttons were.
    for (int id = kPenCommand; id <= kEraserCommand; ++id) {
        if (SendToToolbar(mainWindow, TB_ISBUTTONCHECKED, id, 0))
            SendToToolbar(mainWindow, TB_CHECKBUTTON, id, 0);
        CheckMenuItem(menu, id, MF_UNCHECKED);
    }
    SendToToolbar(mainWindow, TB_CHECKBUTTON, command, 1);
    CheckMenuItem(menu, command, MF_CHECKED);
    Board.SetTool(command - kPenCommand);
}

void Dispatch(HWND mainWindow, int command)
{
    switch (command) {
    case kNewGameCommand:
        NewGame(mainWindow);
        break;
    case kSolutionCommand:
        Solution.Open(mainWindow);
        break;
    case kOpenCommand:
        OpenGame(mainWindow);
        break;
    case kSaveCommand:
        SaveGame(mainWindow);
        break;
    case kPrintCommand:
        PrintGame(mainWindow);
        break;
    case kQuitCommand:
        // No question asked: closing destroys the window, which ends the loop.
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        break;
    case kUndoCommand:
        Board.Undo();
        break;
    case kRedoCommand:
        Board.Redo();
        break;
    case kEasyLevelCommand:
    case kMediumLevelCommand:
    case kHardLevelCommand:
        ChooseLevel(mainWindow, command);
        break;
    case kPenCommand:
    case kPencilCommand:
    case kEraserCommand:
        ChooseTool(mainWindow, command);
        break;
    case kAboutCommand:
        ShowAboutBox(mainWindow);
        break;
    default:
        break;
    }
}

}  // namespace

void SaveGameAs(HWND mainWindow, const WCHAR* path)
{
    if (!SaveGameFile(&Puzzle, path)) {
        ShowMessageBox(mainWindow, kSaveFailedText, kProgramCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    SHAddToRecentDocs(SHARD_PATHW, path);
}

void OpenGameFrom(HWND mainWindow, const WCHAR* path)
{
    // The reader checks the whole file before it changes anything, so a
    // refused file leaves the game, the clock and the history as they were.
    if (!LoadGameFile(&Puzzle, path)) {
        TellOpenRefused(mainWindow, path);
        return;
    }
    Board.ResetClock();
    Board.StartGame();
    EnableGameCommands(mainWindow);
    Solution.Refresh();
    SHAddToRecentDocs(SHARD_PATHW, path);
}

void OpenCommandLineGame(HWND mainWindow)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return;
    // Further arguments are ignored. The full path is what the recent
    // documents keep; one too long for it is tried as it was given.
    if (count > 1 && arguments[1][0]) {
        WCHAR full[MAX_PATH];
        const DWORD length = GetFullPathNameW(arguments[1], MAX_PATH, full, NULL);
        OpenGameFrom(mainWindow, length > 0 && length < MAX_PATH ? full : arguments[1]);
    }
    LocalFree(arguments);
}

int RunMessageLoop(HWND mainWindow)
{
    // The modal boxes and file dialogs run loops of their own, which keep
    // their own keys.
    HACCEL shortcuts = LoadAcceleratorsA(AppInstance, MAKEINTRESOURCEA(kShortcutsId));
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (shortcuts && TranslateAcceleratorA(mainWindow, shortcuts, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void EnableGameCommands(HWND mainWindow)
{
    const int buttons[] = {kSaveCommand, kSolutionCommand, kPrintCommand,
                           kPenCommand,  kPencilCommand,   kEraserCommand};
    for (int id : buttons)
        SendToToolbar(mainWindow, TB_ENABLEBUTTON, id, 1);
    HMENU menu = GetMenu(mainWindow);
    EnableMenuItem(menu, kToolsMenuPosition, MF_BYPOSITION | MF_ENABLED);
    EnableMenuItem(menu, kSaveCommand, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, kSolutionCommand, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, kPrintCommand, MF_BYCOMMAND | MF_ENABLED);
    DrawMenuBar(mainWindow);
}

#ifndef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA is not the 32-bit layout");
#endif

ATOM RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(kMainMenuId);
    windowClass.lpszClassName = kMainClassName;
    return RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    // A fixed size: no sizing border and no maximise box.
    // Sized for 96 DPI; WM_CREATE brings it to its display's scale.
    return CreateWindowExA(0, kMainClassName, kProgramCaption, kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           kMainWidth, kMainHeight, NULL, NULL, instance, NULL);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateContents(window);
        for (int cell = 0; cell < kCellCount; ++cell)
            PlayerGrid[cell] = 0;
        DragAcceptFiles(window, TRUE);
        return 0;
    case WM_SETFOCUS:
        PassFocusToGrid(&Board);
        return 0;
    case WM_DESTROY:
        ReleaseClockLabelFont();
        PostQuitMessage(0);
        return 0;
    case WM_NOTIFYFORMAT:
        // The toolbar asks once, when it is made, and then forwards its
        // tooltips' requests in the wide form.
        return lParam == NF_QUERY ? NFR_UNICODE : DefWindowProcA(window, message, wParam, lParam);
    case kDpiChangedMessage:
        ChangeScale(window, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NOTIFY:
        // The tooltip control sends its request with the tool's id, for a
        // toolbar button its command id, as wParam, and the tip is looked up
        // by it there; NMHDR::idFrom, the documented field, carries the same
        // id.
        if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_NEEDTEXTW)
            FillTooltip(reinterpret_cast<TOOLTIPTEXTW*>(lParam), wParam);
        else if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_NEEDTEXTA)
            FillTooltip(reinterpret_cast<TOOLTIPTEXTA*>(lParam), wParam);
        return 0;
    case WM_COMMAND:
        // A menu item and a toolbar button with the same id act alike; a
        // shortcut acts as they do where they could be chosen.
        if (HIWORD(wParam) != 1 || ShortcutAllowed(window, LOWORD(wParam)))
            Dispatch(window, LOWORD(wParam));
        return 0;
    case WM_DROPFILES:
        OpenDroppedGame(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
