/* A stand-in for a library planted beside the game: copied under a system
   library's name, it leaves "<its file>.loaded" beside itself as soon as any
   process loads it, then refuses to load, so that a program that imports it
   ends at once rather than calling into a library that has none of the
   calls it expects. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    {
        WCHAR path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(self, path, MAX_PATH - 8);
        if (length > 0 && length < MAX_PATH - 8) {
            HANDLE mark;
            lstrcpyW(path + length, L".loaded");
            mark = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (mark != INVALID_HANDLE_VALUE)
                CloseHandle(mark);
        }
    }
    return FALSE;
}
