#include "ui/shell/about_box.h"

#include "play/program_text.h"
#include "program_version.h"

#include "ui/shell/app_objects.h"
#include "resources/program_ids.h"

int ShowAboutBox(HWND owner)
{
    const WideText text(
        "\n"
        "      NONARO   version " NONARO_VERSION_TEXT
        "\n"
        "\n"
        "      Grilles de chiffres 9 x 9 \xE0 trois niveaux\n"
        "\n"
        "      Conception et programmation : Torvel1\n"
        "      Tous droits r\xE9serv\xE9s.\n");
    const WideText caption(" A propos de...");
    MSGBOXPARAMSW box = {};
    box.cbSize = sizeof(box);
    box.hwndOwner = owner;
    box.hInstance = AppInstance;
    box.lpszText = text.get();
    box.lpszCaption = caption.get();
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEW(kProgramIconId);
    return MessageBoxIndirectW(&box);
}
