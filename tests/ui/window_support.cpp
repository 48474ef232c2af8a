#include "tests/ui/window_support.h"

#include "ui/grid/grid_window.h"

namespace {

HHOOK CbtHook = NULL;
int BoxCount = 0;
std::string BoxCaption;
std::string BoxText;
HWND BoxOwner = NULL;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = "";
        GetClassNameA(box, className, sizeof(className));
        if (lstrcmpA(className, "#32770") == 0) {
            char caption[256] = "";
            char text[1024] = "";
            GetWindowTextA(box, caption, sizeof(caption));
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            ++BoxCount;
            BoxCaption = caption;
            BoxText = text;
            BoxOwner = GetWindow(box, GW_OWNER);
            // A file dialog is cancelled; a message box with OK alone has no Cancel.
            PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK, 0);
        }
    }
    return CallNextHookEx(CbtHook, code, wParam, lParam);
}

}  // namespace

HWND CreateTestParent(int clientWidth, int clientHeight)
{
    static ATOM registered = 0;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = "NonaroTestParent";
        registered = RegisterClassA(&windowClass);
    }
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&outer, WS_OVERLAPPED | WS_CAPTION, FALSE);
    return CreateWindowExA(0, "NonaroTestParent", "test", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0,
                           outer.right - outer.left, outer.bottom - outer.top, NULL, NULL, GetModuleHandleA(NULL),
                           NULL);
}

bool GridClassRegistered()
{
    static const ATOM atom = RegisterGridClass();
    return atom != 0;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

RECT PendingUpdate(HWND window)
{
    RECT area = {0, 0, 0, 0};
    GetUpdateRect(window, &area, FALSE);
    return area;
}

MessageBoxCatcher::MessageBoxCatcher()
{
    BoxCount = 0;
    BoxCaption.clear();
    BoxText.clear();
    BoxOwner = NULL;
    CbtHook = SetWindowsHookExA(WH_CBT, WatchBoxes, NULL, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    UnhookWindowsHookEx(CbtHook);
    CbtHook = NULL;
}

int MessageBoxCatcher::count() const { return BoxCount; }
const std::string& MessageBoxCatcher::caption() const { return BoxCaption; }
const std::string& MessageBoxCatcher::text() const { return BoxText; }
HWND MessageBoxCatcher::owner() const { return BoxOwner; }
