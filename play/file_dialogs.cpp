#include "play/game_file.h"

#include <cstddef>
#include <cstring>

namespace {

// One filter pair; the literal's own NUL closes the list with a double NUL.
const char kFilter[] = "Fichier Nonaro (*.nro)\0*.nro\0";
const char kOpenTitle[] = "Ouvrir un fichier Nonaro...";
const char kSaveTitle[] = "Enregistrer sous...";
const DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
const DWORD kSaveFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the dialog structure as Windows 95 knew it");
#endif

void Prepare(OPENFILENAMEA* dialog, HWND owner, char* path, const char* title, DWORD flags)
{
    path[0] = '\0';
    std::memset(dialog, 0, sizeof *dialog);
    // The older structure size lets the dialogs open on every Windows version.
    dialog->lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog->hwndOwner = owner;
    dialog->lpstrFilter = kFilter;
    dialog->lpstrFile = path;
    dialog->nMaxFile = MAX_PATH;
    dialog->lpstrDefExt = "nro";
    dialog->lpstrTitle = title;
    dialog->Flags = flags;
}

}  // namespace

int ChooseOpenFile(HWND owner, char* path)
{
    if (!path)
        return 0;
    OPENFILENAMEA dialog;
    Prepare(&dialog, owner, path, kOpenTitle, kOpenFlags);
    return GetOpenFileNameA(&dialog) ? 1 : 0;
}

int ChooseSaveFile(HWND owner, char* path)
{
    if (!path)
        return 0;
    OPENFILENAMEA dialog;
    Prepare(&dialog, owner, path, kSaveTitle, kSaveFlags);
    return GetSaveFileNameA(&dialog) ? 1 : 0;
}
