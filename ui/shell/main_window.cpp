#include "ui/shell/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <new>

#include "engine/player_arrays.h"
#include "engine/puzzle_grid.h"
#include "play/file_dialogs.h"
#include "play/game_file.h"
#include "play/grid_board.h"
#include "play/program_text.h"
#include "play/grid_geometry.h"
#include "play/system_libraries.h"
#include "ui/contrast_theme.h"
#include "ui/display_scale.h"
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
// The same for a file that another program keeps from being read.
const char kFileInUseText[] =
    "Le fichier \xAB\xA0%s\xA0\xBB n'a pas pu \xEAtre ouvert\xA0: un autre programme l'utilise."
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

// Gives the window the client area it needs at `dpi`, exactly: the 96-DPI
// window's, scaled, or more where taller caption or menu metrics leave the
// toolbar and the grid too little. The frame is measured as drawn, which
// the system's metrics for a scale need not give (Wine draws one frame at
// every scale), and again where a new width wraps the menu bar otherwise.
// Only the size is a function of the scale, so a change of scale and back
// ends at the size it started from.
void FitClientArea(HWND mainWindow, int dpi)
{
    if (IsIconic(mainWindow))
        return;
    RECT toolbar = {0, 0, 0, 0};
    GetWindowRect(GetDlgItem(mainWindow, kToolbarId), &toolbar);
    const SIZE base = FrameSize(kBaseDpi);
    const int grid = GridGeometry(dpi).WindowSize();
    const LONG width = std::max<LONG>(ScaledPixels(kMainWidth - base.cx, dpi), grid);
    const LONG height = std::max<LONG>(ScaledPixels(kMainHeight - base.cy, dpi), toolbar.bottom - toolbar.top + grid);
    RECT client = {0, 0, 0, 0};
    GetClientRect(mainWindow, &client);
    const LONG toolbarWidth = client.right;
    for (int pass = 0; pass < 3 && (client.right != width || client.bottom != height); ++pass) {
        RECT outer;
        GetWindowRect(mainWindow, &outer);
        SetWindowPos(mainWindow, NULL, 0, 0, outer.right - outer.left + width - client.right,
                     outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(mainWindow, &client);
    }
    // The toolbar spans the client area it was made in.
    if (client.right != toolbarWidth)
        SendDlgItemMessageA(mainWindow, kToolbarId, TB_AUTOSIZE, 0, 0);
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
    FitClientArea(mainWindow, dpi);
    CreateGridWindow(&Board, mainWindow);
}

// The system suggests the old outer size scaled, which the frame at the new
// scale need not match: the window takes the suggested place and its own size.
// Nothing here touches the game, so it runs as well under a box or a dialog,
// whose modal loop passes it on.
void ChangeScale(HWND mainWindow, int dpi, const RECT* suggested)
{
    const SIZE estimate = MainWindowSize(dpi);
    SetWindowPos(mainWindow, NULL, suggested ? suggested->left : 0, suggested ? suggested->top : 0, estimate.cx,
                 estimate.cy, SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    RebuildToolbar(mainWindow, dpi);
    FitClientArea(mainWindow, dpi);
    RescaleGridWindow(&Board, mainWindow, dpi);
}

// Whether a message that does not come from the player's own clicks and
// keys (a drop, a command another program posts) may change the game now. A
// message box or a file, print or about dialog disables the main window and
// its modal loop still hands such messages on, while the game under it must
// stay the one the box is about; a new grid being made is no time either.
bool OutsideMayAct(HWND mainWindow) { return IsWindowEnabled(mainWindow) && !(Board.toolMode & kBusyFlag); }

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
    // Files dropped while the grid was made waited in the queue; they are
    // refused as those dropped under a box are.
    MSG drop;
    while (PeekMessageW(&drop, mainWindow, WM_DROPFILES, WM_DROPFILES, PM_REMOVE | PM_QS_POSTMESSAGE))
        SystemLibrary::DragFinish(reinterpret_cast<HDROP>(drop.wParam));
}

void OpenGame(HWND mainWindow)
{
    WCHAR path[MAX_PATH];
    if (ChooseOpenFile(mainWindow, path))
        OpenGameFrom(mainWindow, path);
}

// The program's name ends as CommandLineToArgvW ends it: at the closing
// quote when it starts with one, else at the first blank.
bool HasArguments(const WCHAR* commandLine)
{
    const WCHAR* at = commandLine;
    if (*at == L'"') {
        for (++at; *at && *at != L'"'; ++at) {
        }
        if (*at)
            ++at;
    } else {
        for (; *at && *at != L' ' && *at != L'\t'; ++at) {
        }
    }
    for (; *at == L' ' || *at == L'\t'; ++at) {
    }
    return *at != 0;
}

// The file name alone: the folder would only make the message long.
void TellOpenRefused(HWND mainWindow, const WCHAR* path, const char* format = kOpenRefusedText)
{
    WCHAR text[1024];
    wsprintfW(text, WideText(format).get(), SystemLibrary::PathFindFileNameW(path));
    MessageBoxW(mainWindow, text, WideText(kProgramCaption).get(), MB_OK | MB_ICONWARNING);
}

// What DragAcceptFiles does, without loading shell32 at start.
void AcceptDrops(HWND mainWindow, bool accept)
{
    const LONG_PTR style = GetWindowLongPtrA(mainWindow, GWL_EXSTYLE);
    SetWindowLongPtrA(mainWindow, GWL_EXSTYLE, accept ? style | WS_EX_ACCEPTFILES : style & ~WS_EX_ACCEPTFILES);
}

// Only the first of several files dropped at once is opened. A drop while a
// box or a dialog is up is refused without a word, as the window refuses
// clicks then: opened once the box was gone, it would replace the game
// behind whatever the player did in the dialog. A path too long for the
// program is refused by name rather than cut down to another file's.
void OpenDroppedGame(HWND mainWindow, HDROP drop)
{
    const UINT length = OutsideMayAct(mainWindow) ? SystemLibrary::DragQueryFileW(drop, 0, NULL, 0) : 0;
    WCHAR* path = length ? new (std::nothrow) WCHAR[length + 1] : NULL;
    if (path && SystemLibrary::DragQueryFileW(drop, 0, path, length + 1) == length) {
        if (length < MAX_PATH)
            OpenGameFrom(mainWindow, path);
        else
            TellOpenRefused(mainWindow, path);
    }
    delete[] path;
    SystemLibrary::DragFinish(drop);
}

// While a box or a dialog is up the toolbar and the menu are out of reach:
// a command then comes from another program. None is taken but "Quitter",
// which closes the window as another program's WM_CLOSE does.
bool CommandAllowed(HWND mainWindow, int command) { return command == kQuitCommand || OutsideMayAct(mainWindow); }

// A shortcut key, or a tool's letter in the grid, arrives as a command with
// the notification code 1. It counts only where its menu item could be
// chosen: the tools' items are usable exactly while their popup is.
bool ShortcutAllowed(HWND mainWindow, int command)
{
    if (Board.toolMode & kBusyFlag)
        return false;
    HMENU menu = GetMenu(mainWindow);
    const bool tool = command >= kPenCommand && command <= kEraserCommand;
    const UINT state =
        tool ? GetMenuState(menu, kToolsMenuPosition, MF_BYPOSITION) : GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void SaveImageAs(HWND mainWindow, const unsigned char* image, const WCHAR* path)
{
    if (!SaveGameImage(image, path)) {
        ShowMessageBox(mainWindow, kSaveFailedText, kProgramCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    SystemLibrary::SHAddToRecentDocs(SHARD_PATHW, path);
}

// The file receives the board as it stood when the player chose the command,
// whatever the dialog's modal loop lets through before they confirm.
void SaveGame(HWND mainWindow)
{
    unsigned char image[kGameFileSize];
    MakeGameImage(&Puzzle, image);
    WCHAR path[MAX_PATH];
    if (ChooseSaveFile(mainWindow, path))
        SaveImageAs(mainWindow, image, path);
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
    unsigned char image[kGameFileSize];
    MakeGameImage(&Puzzle, image);
    SaveImageAs(mainWindow, image, path);
}

void OpenGameFrom(HWND mainWindow, const WCHAR* path)
{
    // The reader checks the whole file before it changes anything, so a
    // refused file leaves the game, the clock and the history as they were.
    GameFileRefusal refusal = kNotAGame;
    if (!LoadGameFile(&Puzzle, path, &refusal)) {
        TellOpenRefused(mainWindow, path, refusal == kFileInUse ? kFileInUseText : kOpenRefusedText);
        return;
    }
    Board.ResetClock();
    Board.StartGame();
    EnableGameCommands(mainWindow);
    Solution.Refresh();
    SystemLibrary::SHAddToRecentDocs(SHARD_PATHW, path);
}

void OpenCommandLineGame(HWND mainWindow)
{
    // Only a command line with more than the program's name needs shell32.
    if (!HasArguments(GetCommandLineW()))
        return;
    int count = 0;
    LPWSTR* arguments = SystemLibrary::CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return;
    // Further arguments are ignored. The full path is what the recent
    // documents keep; one too long for the program is refused by name, as a
    // drop's is. A path the system cannot make whole is tried as given.
    if (count > 1 && arguments[1][0]) {
        WCHAR full[MAX_PATH];
        const DWORD length = GetFullPathNameW(arguments[1], MAX_PATH, full, NULL);
        if (length >= MAX_PATH || lstrlenW(arguments[1]) >= MAX_PATH)
            TellOpenRefused(mainWindow, arguments[1]);
        else
            OpenGameFrom(mainWindow, length > 0 ? full : arguments[1]);
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
    const int buttons[] = {kSaveCommand, kSolutionCommand, kPrintCommand, kPenCommand, kPencilCommand, kEraserCommand};
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
    return CreateWindowExA(0, kMainClassName, kProgramCaption, kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT, kMainWidth,
                           kMainHeight, NULL, NULL, instance, NULL);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateContents(window);
        for (int cell = 0; cell < kCellCount; ++cell)
            PlayerGrid[cell] = 0;
        AcceptDrops(window, true);
        return 0;
    case WM_SETFOCUS:
        PassFocusToGrid(&Board);
        return 0;
    case WM_ENABLE:
        // While a box or a dialog holds the window, the shell shows a drag
        // over it as refused, as the drop would be.
        AcceptDrops(window, wParam != 0);
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
        if (reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW &&
            reinterpret_cast<NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(kToolbarId))
            return DrawToolbarItem(reinterpret_cast<NMTBCUSTOMDRAW*>(lParam));
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
        if (CommandAllowed(window, LOWORD(wParam)) && (HIWORD(wParam) != 1 || ShortcutAllowed(window, LOWORD(wParam))))
            Dispatch(window, LOWORD(wParam));
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        // A contrast theme switched on, off or to another, mid-game: only
        // the pictures and the colours change.
        if (IsThemeChange(message, wParam))
            FollowSystemColours(window, message == WM_SYSCOLORCHANGE);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DROPFILES:
        OpenDroppedGame(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
