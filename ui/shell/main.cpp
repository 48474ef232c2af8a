#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "ui/grid/grid_window.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/main_window.h"
#include "ui/shell/solution_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    AppInstance = instance;
    InitCommonControls();
    if (!RegisterMainClass(instance) || !RegisterGridClass() || !RegisterSolutionClass())
        return 0;
    // The one seed of the run: every puzzle is drawn from this sequence.
    srand(GetTickCount());
    HWND window = CreateMainWindow(instance);
    if (!window)
        return 0;
    ShowWindow(window, showCommand);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
