#include "tests/e2e/contrast_palettes.h"

#include <cmath>

// The colours of Windows 10's two contrast themes as Settings shows them;
// frames and menus in the text and background colours, as those themes have.
const ContrastPalette kContrastPalettes[] = {
    {"High Contrast Black",
     {{COLOR_WINDOW, RGB(0, 0, 0)},
      {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
      {COLOR_HIGHLIGHT, RGB(0x1A, 0xEB, 0xFF)},
      {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
      {COLOR_HOTLIGHT, RGB(0xFF, 0xFF, 0x00)},
      {COLOR_GRAYTEXT, RGB(0x3F, 0xF2, 0x3F)},
      {COLOR_BTNFACE, RGB(0, 0, 0)},
      {COLOR_BTNTEXT, RGB(255, 255, 255)},
      {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
      {COLOR_MENU, RGB(0, 0, 0)},
      {COLOR_MENUBAR, RGB(0, 0, 0)},
      {COLOR_MENUTEXT, RGB(255, 255, 255)}}},
    {"High Contrast White",
     {{COLOR_WINDOW, RGB(255, 255, 255)},
      {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
      {COLOR_HIGHLIGHT, RGB(0x37, 0x00, 0x6E)},
      {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
      {COLOR_HOTLIGHT, RGB(0x00, 0x00, 0x9F)},
      {COLOR_GRAYTEXT, RGB(0x60, 0x00, 0x00)},
      {COLOR_BTNFACE, RGB(255, 255, 255)},
      {COLOR_BTNTEXT, RGB(0, 0, 0)},
      {COLOR_WINDOWFRAME, RGB(0, 0, 0)},
      {COLOR_MENU, RGB(255, 255, 255)},
      {COLOR_MENUBAR, RGB(255, 255, 255)},
      {COLOR_MENUTEXT, RGB(0, 0, 0)}}},
};
const int kContrastPaletteCount = sizeof kContrastPalettes / sizeof kContrastPalettes[0];

COLORREF ContrastPalette::Colour(int role) const
{
    for (const SystemColour& entry : colours)
        if (entry.role == role)
            return entry.colour;
    return CLR_INVALID;
}

namespace {

double Linear(int component)
{
    double value = component / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF c)
{
    return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

typedef BOOL(WINAPI* ParametersCall)(UINT, UINT, PVOID, UINT);
ParametersCall systemW = nullptr;
ParametersCall systemA = nullptr;

template <typename HighContrast>
BOOL Answer(ParametersCall system, UINT action, UINT param, PVOID value, UINT update)
{
    if (action != SPI_GETHIGHCONTRAST || !value)
        return system(action, param, value, update);
    HighContrast* theme = static_cast<HighContrast*>(value);
    theme->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
    theme->lpszDefaultScheme = nullptr;
    return TRUE;
}

BOOL WINAPI AnswerW(UINT action, UINT param, PVOID value, UINT update)
{
    return Answer<HIGHCONTRASTW>(systemW, action, param, value, update);
}

BOOL WINAPI AnswerA(UINT action, UINT param, PVOID value, UINT update)
{
    return Answer<HIGHCONTRASTA>(systemA, action, param, value, update);
}

bool Replace(void** slot, void* with)
{
    DWORD was = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was))
        return false;
    *slot = with;
    VirtualProtect(slot, sizeof *slot, was, &was);
    return true;
}

COLORREF saved[kPaletteRoles];
bool colorsSaved = false;

}  // namespace

double ContrastRatio(COLORREF a, COLORREF b)
{
    double x = Luminance(a) + 0.05, y = Luminance(b) + 0.05;
    return x > y ? x / y : y / x;
}

bool PretendContrastTheme(HMODULE module, bool on)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    systemW =
        reinterpret_cast<ParametersCall>(reinterpret_cast<void*>(GetProcAddress(user32, "SystemParametersInfoW")));
    systemA =
        reinterpret_cast<ParametersCall>(reinterpret_cast<void*>(GetProcAddress(user32, "SystemParametersInfoA")));
    void* const real[2] = {reinterpret_cast<void*>(systemW), reinterpret_cast<void*>(systemA)};
    void* const fake[2] = {reinterpret_cast<void*>(AnswerW), reinterpret_cast<void*>(AnswerA)};
    BYTE* base = reinterpret_cast<BYTE*>(module);
    const IMAGE_NT_HEADERS* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return false;
    bool found = false;
    // Every library's slots: the functions may be bound through any of them.
    for (const IMAGE_IMPORT_DESCRIPTOR* library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name; ++library)
        for (void** slot = reinterpret_cast<void**>(base + library->FirstThunk); *slot; ++slot)
            for (int i = 0; i < 2; ++i)
                if (*slot == (on ? real[i] : fake[i]) || *slot == (on ? fake[i] : real[i]))
                    found = Replace(slot, on ? fake[i] : real[i]) || found;
    return found;
}

void ApplyPalette(int palette)
{
    int roles[kPaletteRoles];
    COLORREF colours[kPaletteRoles];
    for (int i = 0; i < kPaletteRoles; ++i)
        roles[i] = kContrastPalettes[0].colours[i].role;
    if (palette < 0) {
        if (colorsSaved)
            SetSysColors(kPaletteRoles, roles, saved);
        colorsSaved = false;
        return;
    }
    if (!colorsSaved)
        for (int i = 0; i < kPaletteRoles; ++i)
            saved[i] = GetSysColor(roles[i]);
    colorsSaved = true;
    for (int i = 0; i < kPaletteRoles; ++i)
        colours[i] = kContrastPalettes[palette].Colour(roles[i]);
    SetSysColors(kPaletteRoles, roles, colours);
}
