#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

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
    // Screen readers get the grid's accessible object through COM. A
    // single-threaded apartment is what the common dialogs set up for
    // themselves anyway; without it the grid is only read as a plain window.
    const bool com = SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED));
    HWND window = CreateMainWindow(instance);
    if (!window) {
        if (com)
            CoUninitialize();
        return 0;
    }
    ShowWindow(window, showCommand);
    // Once the window is up, so that a refused file's message has its owner
    // on screen.
    OpenCommandLineGame(window);
    const int code = RunMessageLoop(window);
    if (com)
        CoUninitialize();
    return code;
}
