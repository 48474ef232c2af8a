#include "play/program_text.h"

WideText::WideText(const char* text)
{
    const int room = static_cast<int>(sizeof wide / sizeof wide[0]);
    wide[0] = 0;
    if (!text)
        return;
    if (MultiByteToWideChar(kProgramCodePage, 0, text, -1, wide, room) > 0)
        return;
    // Too long: the call fails whole, so it is made again on what fits.
    int fits = 0;
    while (fits < room - 1 && text[fits])
        ++fits;
    int length = MultiByteToWideChar(kProgramCodePage, 0, text, fits, wide, room - 1);
    wide[length > 0 ? length : 0] = 0;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    WideText wideText(text);
    WideText wideCaption(caption);
    return MessageBoxW(owner, wideText.get(), caption ? wideCaption.get() : nullptr, type);
}
