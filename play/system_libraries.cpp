#include "play/system_libraries.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

// None but the common controls is needed before the player uses what it
// brings. oleacc is not one of the libraries Windows maps from its own list
// of known DLLs, so imported statically it was looked for in the program's
// folder first; nor is comctl32, whose own start may load others.
enum Library { kComCtl32, kComDlg32, kOle32, kOleAcc, kOleAut32, kShell32, kShlwapi, kLibraryCount };
const WCHAR* const kLibraryNames[kLibraryCount] = {L"comctl32.dll", L"comdlg32.dll", L"ole32.dll",  L"oleacc.dll",
                                                   L"oleaut32.dll", L"shell32.dll",  L"shlwapi.dll"};

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD);

SetDefaultDllDirectoriesCall SetDefaultDllDirectoriesFound()
{
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return kernel32 ? reinterpret_cast<SetDefaultDllDirectoriesCall>(
                          reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                    : NULL;
}

HMODULE LoadFromSystemFolder(const WCHAR* name)
{
    // The search flags came with SetDefaultDllDirectories; they keep the
    // libraries this one brings in the system folder too.
    static const bool searchFlags = SetDefaultDllDirectoriesFound() != NULL;
    if (searchFlags)
        return LoadLibraryExW(name, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The manifest binds the common controls to the system's side-by-side
    // assembly, which the loader looks up before any folder; a full path
    // would pass it by for the old controls, without visual styles.
    if (lstrcmpiW(name, kLibraryNames[kComCtl32]) == 0)
        return LoadLibraryW(name);
    // Named by its full path; the altered search order then looks for the
    // libraries it brings in that same folder before any other.
    WCHAR path[MAX_PATH];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    const int length = lstrlenW(name);
    if (folder == 0 || folder + 1 + length >= MAX_PATH)
        return NULL;
    UINT at = folder;
    if (path[at - 1] != L'\\')
        path[at++] = L'\\';
    lstrcpynW(path + at, name, MAX_PATH - at);
    return LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Each library is tried once, the first time one of its calls is asked for.
HMODULE Loaded(Library library)
{
    static HMODULE modules[kLibraryCount];
    static bool tried[kLibraryCount];
    if (!tried[library]) {
        tried[library] = true;
        modules[library] = LoadFromSystemFolder(kLibraryNames[library]);
    }
    return modules[library];
}

// The call, or null when the library or the call is not there.
template <typename Call>
Call Find(Library library, const char* name)
{
    HMODULE module = Loaded(library);
    FARPROC found = module ? GetProcAddress(module, name) : NULL;
    return reinterpret_cast<Call>(reinterpret_cast<void*>(found));
}

}  // namespace

namespace SystemLibrary {

void SearchSystemFolderOnly()
{
    if (SetDefaultDllDirectoriesCall call = SetDefaultDllDirectoriesFound())
        call(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void InitCommonControls()
{
    static const auto call = Find<decltype(&::InitCommonControls)>(kComCtl32, "InitCommonControls");
    if (call)
        call();
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow)
{
    static const auto call = Find<decltype(&::ImageList_Create)>(kComCtl32, "ImageList_Create");
    return call ? call(width, height, flags, initial, grow) : NULL;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    static const auto call = Find<decltype(&::ImageList_Add)>(kComCtl32, "ImageList_Add");
    return call ? call(list, image, mask) : -1;
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    static const auto call = Find<decltype(&::ImageList_Destroy)>(kComCtl32, "ImageList_Destroy");
    return call ? call(list) : FALSE;
}

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog)
{
    static const auto call = Find<decltype(&::GetOpenFileNameW)>(kComDlg32, "GetOpenFileNameW");
    return call ? call(dialog) : FALSE;
}

BOOL GetSaveFileNameW(OPENFILENAMEW* dialog)
{
    static const auto call = Find<decltype(&::GetSaveFileNameW)>(kComDlg32, "GetSaveFileNameW");
    return call ? call(dialog) : FALSE;
}

BOOL PrintDlgA(PRINTDLGA* dialog)
{
    static const auto call = Find<decltype(&::PrintDlgA)>(kComDlg32, "PrintDlgA");
    return call ? call(dialog) : FALSE;
}

HRESULT CoInitializeEx(void* reserved, DWORD model)
{
    static const auto call = Find<decltype(&::CoInitializeEx)>(kOle32, "CoInitializeEx");
    return call ? call(reserved, model) : E_FAIL;
}

LRESULT LresultFromObject(REFIID iid, WPARAM flags, IUnknown* object)
{
    static const auto call = Find<decltype(&::LresultFromObject)>(kOleAcc, "LresultFromObject");
    return call ? call(iid, flags, object) : static_cast<LRESULT>(E_FAIL);
}

HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object)
{
    static const auto call = Find<decltype(&::CreateStdAccessibleObject)>(kOleAcc, "CreateStdAccessibleObject");
    return call ? call(window, objectId, iid, object) : E_FAIL;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length)
{
    static const auto call = Find<decltype(&::SysAllocStringLen)>(kOleAut32, "SysAllocStringLen");
    return call ? call(text, length) : NULL;
}

void VariantInit(VARIANT* variant)
{
    static const auto call = Find<decltype(&::VariantInit)>(kOleAut32, "VariantInit");
    if (call)
        call(variant);
    else
        variant->vt = VT_EMPTY;
}

LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count)
{
    static const auto call = Find<decltype(&::CommandLineToArgvW)>(kShell32, "CommandLineToArgvW");
    return call ? call(commandLine, count) : NULL;
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR path, UINT size)
{
    static const auto call = Find<decltype(&::DragQueryFileW)>(kShell32, "DragQueryFileW");
    return call ? call(drop, index, path, size) : 0;
}

void DragFinish(HDROP drop)
{
    static const auto call = Find<decltype(&::DragFinish)>(kShell32, "DragFinish");
    if (call)
        call(drop);
}

void SHAddToRecentDocs(UINT flags, LPCVOID path)
{
    static const auto call = Find<decltype(&::SHAddToRecentDocs)>(kShell32, "SHAddToRecentDocs");
    if (call)
        call(flags, path);
}

LPWSTR PathFindFileNameW(LPCWSTR path)
{
    static const auto call = Find<decltype(&::PathFindFileNameW)>(kShlwapi, "PathFindFileNameW");
    return call ? call(path) : const_cast<LPWSTR>(path);
}

}  // namespace SystemLibrary
