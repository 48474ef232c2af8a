#pragma once

// The system libraries that the program does not import: the common
// controls, loaded at start once the search is limited, and those that
// start-up does without: the common dialogs, COM, OLE automation, the
// accessibility library and the shell. Each is loaded from the system folder
// the first time one of its calls is made, and each call found once; the
// program imports only libraries that Windows takes from its own copies
// (kernel32, user32, gdi32, msvcrt), which are loaded before any of its code
// runs.
// A library that cannot be loaded fails that one call, as described at each
// group: the feature behind it is not there, and the game goes on.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>

namespace SystemLibrary {

// Called first in WinMain: every later load, the system's own included,
// searches the system folder alone. Windows before the update that brought
// SetDefaultDllDirectories (KB2533623) keeps its search order, and the
// loads below then name the system folder's full path.
void SearchSystemFolderOnly();

// comctl32, the manifest's assembly of the common controls. Without it
// there is no toolbar, and the game goes on without one.
void InitCommonControls();
// The image lists of the toolbar's pictures in a contrast theme; without
// comctl32 there is no toolbar to show them.
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
BOOL ImageList_Destroy(HIMAGELIST list);

// comdlg32. Without it no dialog shows, as when the player cancels.
BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
BOOL GetSaveFileNameW(OPENFILENAMEW* dialog);
BOOL PrintDlgA(PRINTDLGA* dialog);

// ole32. Without it COM is not there (E_FAIL).
HRESULT CoInitializeEx(void* reserved, DWORD model);

// oleacc. Without it the grid has no accessible object of its own (E_FAIL),
// and screen readers get the system's plain one.
LRESULT LresultFromObject(REFIID iid, WPARAM flags, IUnknown* object);
HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);

// oleaut32. Without it no text is given out (a null string); an emptied
// variant needs nothing of the library.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void VariantInit(VARIANT* variant);

// shell32 and shlwapi. Without them the command line holds no file (null),
// a dropped file is not opened, the recent documents are not told, and a
// refused file is named by its whole path.
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR path, UINT size);
void DragFinish(HDROP drop);
void SHAddToRecentDocs(UINT flags, LPCVOID path);
LPWSTR PathFindFileNameW(LPCWSTR path);

}  // namespace SystemLibrary
