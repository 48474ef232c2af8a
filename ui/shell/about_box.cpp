#include "ui/shell/about_box.h"

#include "ui/shell/app_objects.h"
#include "ui/shell/command_ids.h"

int ShowAboutBox(HWND owner)
{
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof(box);
    box.hwndOwner = owner;
    box.hInstance = AppInstance;
    box.lpszText =
        "\n"
        "      NONARO   version 2.1\n"
        "\n"
        "      Grilles de chiffres 9 x 9 \xE0 trois niveaux\n"
        "\n"
        "      Conception et programmation : Torvel1\n"
        "      Tous droits r\xE9serv\xE9s.\n";
    box.lpszCaption = " A propos de...";
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEA(kProgramIconId);
    return MessageBoxIndirectA(&box);
}
