#include <windows.h>

#include <cstdlib>

#include "play/system_libraries.h"
#include "ui/grid/grid_window.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/main_window.h"
#include "ui/shell/solution_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // Before anything can load a library: none may come from the program's
    // folder, where a downloaded file could lie beside the game.
    SystemLibrary::SearchSystemFolderOnly();
    AppInstance = instance;
    SystemLibrary::InitCommonControls();
    if (!RegisterMainClass(instance) || !RegisterGridClass() || !RegisterSolutionClass())
        return 0;
    // The one seed of the run: every puzzle is drawn from this sequence.
    srand(GetTickCount());
    HWND window = CreateMainWindow(instance);
    if (!window)
        return 0;
    ShowWindow(window, showCommand);
    // Once the window is up, so that a refused file's message has its owner
    // on screen.
    OpenCommandLineGame(window);
    return RunMessageLoop(window);
}
