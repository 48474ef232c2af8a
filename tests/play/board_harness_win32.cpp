#include "tests/play/board_harness.h"

#include "play/grid_geometry.h"

#include <cstdio>
#include <cstring>

// Real windows: a main window with its menu, the toolbar control with the
// Undo and Redo buttons and the clock label, and a grid window that drops
// the selection on focus loss. Message boxes are closed by posting them OK
// as soon as they are activated; the harness looks at the board when the
// box's own loop takes that message, the box being up and the grid window
// having lost the focus.
struct BoardHarness::Platform {
    HWND mainWindow;
    HWND toolbar;
    HHOOK cbtHook;
    HHOOK messageHook;
};

namespace {

BoardHarness* g_harness = nullptr;
HWND g_boxToClose = nullptr;

const char kMainClass[] = "NonaroPlayTestMain";
const char kGridClass[] = "NonaroPlayTestGrid";

bool IsMessageBox(HWND window)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

LRESULT CALLBACK GridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KILLFOCUS && g_harness) {
        GridBoard& board = g_harness->board;
        RECT area;
        if (GridGeometry().CellRect(board.selectedCell, &area)) {
            board.selectedCell = kNoCell;
            InvalidateRect(window, &area, TRUE);
        }
        return 0;
    }
    if (message == WM_TIMER)
        return 0;  // the tests tick the clock themselves
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && window != g_boxToClose && IsMessageBox(window)) {
        g_boxToClose = window;
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd == g_boxToClose && message->message == WM_COMMAND &&
        g_harness) {
        g_boxToClose = nullptr;
        char text[256] = "";
        char caption[256] = "";
        GetDlgItemTextA(message->hwnd, 0xFFFF, text, sizeof text);
        GetWindowTextA(message->hwnd, caption, sizeof caption);
        // A child window cannot own a box: Windows gives it to the grid
        // window's top-level window.
        HWND owner = GetWindow(message->hwnd, GW_OWNER);
        BoardHarness::Box box{text, caption, owner == GetAncestor(g_harness->board.window, GA_ROOT)};
        g_harness->boxes.push_back(box);
        if (g_harness->duringBox)
            g_harness->duringBox(box);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void RegisterClasses()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    InitCommonControls();
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kMainClass;
    RegisterClassA(&windowClass);
    windowClass.lpfnWndProc = GridProc;
    windowClass.lpszClassName = kGridClass;
    RegisterClassA(&windowClass);
}

}  // namespace

BoardHarness::BoardHarness() : board(grid, mask, marks), platform_(new Platform())
{
    RegisterClasses();
    g_harness = this;
    HINSTANCE instance = GetModuleHandleA(nullptr);

    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING | MF_GRAYED, kUndoCommand, "Annuler  ");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, kRedoCommand, "R\xE9p\xE9ter  ");
    platform_->mainWindow =
        CreateWindowExA(0, kMainClass, "Nonaro", WS_OVERLAPPEDWINDOW, 0, 0, 600, 600, nullptr, menu, instance, nullptr);
    if (!platform_->mainWindow)
        std::fprintf(stderr, "no window could be made: under Wine these tests need an X display\n");

    platform_->toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                         platform_->mainWindow, reinterpret_cast<HMENU>(kToolbarId), instance, nullptr);
    SendMessageA(platform_->toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2];
    std::memset(buttons, 0, sizeof buttons);
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[0].idCommand = kUndoCommand;
    buttons[0].fsStyle = TBSTYLE_BUTTON;
    buttons[1] = buttons[0];
    buttons[1].idCommand = kRedoCommand;
    SendMessageA(platform_->toolbar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 100, 0, 100, 20, platform_->toolbar,
                    reinterpret_cast<HMENU>(kClockLabelId), instance, nullptr);
    ToolbarWindow = platform_->toolbar;

    board.window = CreateWindowExA(0, kGridClass, "", WS_CHILD | WS_VISIBLE, 10, 40, 460, 460, platform_->mainWindow,
                                   nullptr, instance, nullptr);

    platform_->cbtHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    platform_->messageHook = SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, GetCurrentThreadId());
    SetFocus(board.window);
}

BoardHarness::~BoardHarness()
{
    UnhookWindowsHookEx(platform_->messageHook);
    UnhookWindowsHookEx(platform_->cbtHook);
    DestroyWindow(platform_->mainWindow);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    ToolbarWindow = nullptr;
    board.window = nullptr;
    g_harness = nullptr;
    g_boxToClose = nullptr;
    delete platform_;
}

bool BoardHarness::UndoEnabled() const
{
    return SendMessageA(platform_->toolbar, TB_ISBUTTONENABLED, kUndoCommand, 0) != 0;
}

bool BoardHarness::RedoEnabled() const
{
    return SendMessageA(platform_->toolbar, TB_ISBUTTONENABLED, kRedoCommand, 0) != 0;
}

bool BoardHarness::UndoMenuEnabled() const
{
    return !(GetMenuState(GetMenu(platform_->mainWindow), kUndoCommand, MF_BYCOMMAND) & MF_GRAYED);
}

bool BoardHarness::RedoMenuEnabled() const
{
    return !(GetMenuState(GetMenu(platform_->mainWindow), kRedoCommand, MF_BYCOMMAND) & MF_GRAYED);
}

std::string BoardHarness::ClockLabel() const
{
    char text[64] = "";
    GetDlgItemTextA(platform_->toolbar, kClockLabelId, text, sizeof text);
    return text;
}

bool BoardHarness::ClockTimerSet()
{
    // Windows cannot be asked whether a timer is set; killing it tells, and
    // a timer found is set again.
    if (!KillTimer(board.window, 2))
        return false;
    SetTimer(board.window, 2, 1000, nullptr);
    return true;
}

bool BoardHarness::GridHasFocus() const { return GetFocus() == board.window; }
