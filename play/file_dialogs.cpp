#include "play/file_dialogs.h"

#include <cstddef>
#include <cstring>

namespace {

// One filter pair; the literal's own NUL closes the list with a double NUL.
const WCHAR kFilter[] = L"Fichier Nonaro (*.nro)\0*.nro\0";
const WCHAR kOpenTitle[] = L"Ouvrir un fichier Nonaro...";
const WCHAR kSaveTitle[] = L"Enregistrer sous...";
const DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
const DWORD kSaveFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR) == 76,
              "the dialog structure as Windows 95 knew it");
#endif

void Prepare(OPENFILENAMEW* dialog, HWND owner, WCHAR* path, const WCHAR* title, DWORD flags)
{
    path[0] = 0;
    std::memset(dialog, 0, sizeof *dialog);
    // The older structure size lets the dialogs open on every Windows version.
    dialog->lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog->hwndOwner = owner;
    dialog->lpstrFilter = kFilter;
    dialog->lpstrFile = path;
    dialog->nMaxFile = MAX_PATH;
    dialog->lpstrDefExt = L"nro";
    dialog->lpstrTitle = title;
    dialog->Flags = flags;
}

}  // namespace

int ChooseOpenFile(HWND owner, WCHAR* path)
{
    if (!path)
        return 0;
    OPENFILENAMEW dialog;
    Prepare(&dialog, owner, path, kOpenTitle, kOpenFlags);
    return SystemLibrary::GetOpenFileNameW(&dialog) ? 1 : 0;
}

int ChooseSaveFile(HWND owner, WCHAR* path)
{
    if (!path)
        return 0;
    OPENFILENAMEW dialog;
    Prepare(&dialog, owner, path, kSaveTitle, kSaveFlags);
    return SystemLibrary::GetSaveFileNameW(&dialog) ? 1 : 0;
}
