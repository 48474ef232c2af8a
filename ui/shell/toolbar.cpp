#include "ui/shell/toolbar.h"

#include "play/grid_board.h"
#include "play/program_text.h"
#include "play/system_libraries.h"
#include "resources/image_scales.h"
#include "ui/contrast_theme.h"
#include "ui/display_scale.h"
#include "ui/shell/app_objects.h"
#include "resources/program_ids.h"

namespace {

const int kImageSize = 19;
const int kImageCount = 10;
const int kButtonWidth = 24;
const int kButtonHeight = 22;
const int kPlaceholderWidth = 100;
const int kLabelHeight = 22;
// The label sits this far right of and below the placeholder's corner.
const int kLabelShiftX = 20;
const int kLabelShiftY = 2;
const int kButtonCount = 16;

// The label's font, null where it keeps the default one; it outlives the
// toolbar it was made for until the next one.
HFONT LabelFont = NULL;

// In a contrast theme, the pictures drawn in the theme's button text and,
// for the disabled buttons, its disabled text. A toolbar does not destroy the
// image lists it is given, so they are released with the toolbar they were
// made for.
HIMAGELIST ThemePictures = NULL;
HIMAGELIST ThemeDisabledPictures = NULL;
// Whether the toolbar was made for a contrast theme. The answer itself is
// asked again by whichever window hears of a change first.
bool MadeForTheme = false;

void ReleaseThemePictures()
{
    if (ThemePictures)
        SystemLibrary::ImageList_Destroy(ThemePictures);
    if (ThemeDisabledPictures)
        SystemLibrary::ImageList_Destroy(ThemeDisabledPictures);
    ThemePictures = ThemeDisabledPictures = NULL;
}

// 32-bit pixels, the first row at the top.
BITMAPINFO TopDownPixels(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

// The pictures' strokes, from the bitmap the build makes of the same pixel
// maps (black where a picture has a stroke), in `ink` on no background.
HIMAGELIST MakeThemePictures(const DWORD* strokes, int width, int height, COLORREF ink)
{
    HDC screen = GetDC(NULL);
    BITMAPINFO info = TopDownPixels(width, height);
    void* bits = NULL;
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    ReleaseDC(NULL, screen);
    // A monochrome mask, 1 where the button face shows; its rows are whole words.
    const int maskStride = (width + 15) / 16 * 2;
    BYTE* mask = new BYTE[maskStride * height]();
    const DWORD pixel = (GetRValue(ink) << 16) | (GetGValue(ink) << 8) | GetBValue(ink);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool stroke = (strokes[y * width + x] & 0xFFFFFF) == 0;
            if (bits)
                static_cast<DWORD*>(bits)[y * width + x] = stroke ? pixel : 0;
            if (!stroke)
                mask[y * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, mask);
    delete[] mask;
    HIMAGELIST list = SystemLibrary::ImageList_Create(height, height, ILC_COLOR32 | ILC_MASK, kImageCount, 0);
    if (list && colour && maskBitmap)
        SystemLibrary::ImageList_Add(list, colour, maskBitmap);
    if (colour)
        DeleteObject(colour);
    if (maskBitmap)
        DeleteObject(maskBitmap);
    return list;
}

// Gives the toolbar the pictures of the theme, made at the scale of its
// image strip; false when the strokes could not be read.
bool ShowThemePictures(HWND toolbar, int strokesId, int imageSize)
{
    HBITMAP strokes = LoadBitmapA(AppInstance, MAKEINTRESOURCEA(strokesId));
    if (!strokes)
        return false;
    const int width = imageSize * kImageCount;
    BITMAPINFO info = TopDownPixels(width, imageSize);
    DWORD* pixels = new DWORD[width * imageSize];
    HDC screen = GetDC(NULL);
    const int rows = GetDIBits(screen, strokes, 0, imageSize, pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    DeleteObject(strokes);
    if (rows == imageSize) {
        ThemePictures = MakeThemePictures(pixels, width, imageSize, GetSysColor(COLOR_BTNTEXT));
        ThemeDisabledPictures = MakeThemePictures(pixels, width, imageSize, GetSysColor(COLOR_GRAYTEXT));
        SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ThemePictures));
        SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(ThemeDisabledPictures));
    }
    delete[] pixels;
    return rows == imageSize;
}

const TBBUTTON kButtons[kButtonCount] = {
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {0, kNewGameCommand, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {1, kOpenCommand, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {2, kSaveCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {3, kSolutionCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {4, kPrintCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {5, kUndoCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {6, kRedoCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    // The pen starts checked but, like every tool, unusable until a game exists.
    {7, kPenCommand, TBSTATE_CHECKED, TBSTYLE_CHECK, {0, 0}, 0, 0},
    {8, kPencilCommand, 0, TBSTYLE_CHECK, {0, 0}, 0, 0},
    {9, kEraserCommand, 0, TBSTYLE_CHECK, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    // Widened later; the clock label covers it.
    {0, kClockLabelId, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
};

struct Tooltip {
    UINT_PTR commandId;
    const char* text;
};

const Tooltip kTooltips[] = {
    {kNewGameCommand, "G\xE9n\xE9rer une nouvelle grille"},
    {kSolutionCommand, "Afficher la solution"},
    {kOpenCommand, "Ouvrir un fichier nonaro"},
    {kSaveCommand, "Sauvegarder"},
    {kPrintCommand, "Imprimer la grille et la solution"},
    {kUndoCommand, "Annuler la derni\xE8re action"},
    {kRedoCommand, "R\xE9p\xE9ter la derni\xE8re annulation"},
    {kPenCommand, "Utiliser le mode stylo"},
    {kPencilCommand, "Utiliser le mode crayon"},
    {kEraserCommand, "Utiliser le mode gomme"},
};

}  // namespace

void CreateToolbar(HWND mainWindow, int dpi)
{
    HWND toolbar = CreateWindowExA(WS_EX_DLGMODALFRAME, TOOLBARCLASSNAMEA, NULL,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0, 0, 0, mainWindow,
                                   reinterpret_cast<HMENU>(kToolbarId), AppInstance, NULL);
    ToolbarWindow = toolbar;
    if (!toolbar)
        return;
    // Pictures drawn for a lower scale than the window's keep their own
    // size and sit in the scaled buttons unstretched.
    const int bitmapId = BitmapIdForDpi(AppInstance, kToolbarBitmapId, dpi);
    const int imageSize = bitmapId == kToolbarBitmapId ? kImageSize : MulDiv(kImageSize, ImageScaleFor(dpi), 100);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(ScaledPixels(kButtonWidth, dpi), ScaledPixels(kButtonHeight, dpi)));
    // The strokes are drawn for the same scales as the strip.
    const int strokesId =
        bitmapId == kToolbarBitmapId ? kToolbarStrokesId : ScaledImageId(kToolbarStrokesId, ImageScaleFor(dpi));
    MadeForTheme = ContrastThemeOn();
    if (!MadeForTheme || !ShowThemePictures(toolbar, strokesId, imageSize)) {
        TBADDBITMAP images = {AppInstance, static_cast<UINT_PTR>(bitmapId)};
        SendMessageA(toolbar, TB_ADDBITMAP, kImageCount, reinterpret_cast<LPARAM>(&images));
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, kButtonCount, reinterpret_cast<LPARAM>(kButtons));

    TBBUTTONINFOA placeholder = {};
    placeholder.cbSize = sizeof(placeholder);
    placeholder.dwMask = TBIF_SIZE;
    placeholder.cx = static_cast<WORD>(ScaledPixels(kPlaceholderWidth, dpi));
    SendMessageA(toolbar, TB_SETBUTTONINFOA, kClockLabelId, reinterpret_cast<LPARAM>(&placeholder));
    // Windows wants it after the bitmap and button sizes, or it may clip the
    // buttons' lower edge.
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);

    RECT slot = {0, 0, 0, 0};
    LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, kClockLabelId, 0);
    SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&slot));
    HWND label = CreateWindowExA(
        0, "Static", NULL, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
        slot.left + ScaledPixels(kLabelShiftX, dpi), slot.top + ScaledPixels(kLabelShiftY, dpi), slot.right - slot.left,
        ScaledPixels(kLabelHeight, dpi), toolbar, reinterpret_cast<HMENU>(kClockLabelId), AppInstance, NULL);
    HFONT previous = LabelFont;
    LabelFont = CreateControlFontForDpi(dpi, FW_NORMAL);
    if (LabelFont)
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(LabelFont), FALSE);
    if (previous)
        DeleteObject(previous);
    SetWindowTextA(label, kClockRestText);
}

void RebuildToolbar(HWND mainWindow, int dpi)
{
    HWND old = GetDlgItem(mainWindow, kToolbarId);
    BYTE states[kButtonCount] = {};
    char clock[32];
    lstrcpyA(clock, kClockRestText);
    if (old) {
        for (int i = 0; i < kButtonCount; ++i)
            if (kButtons[i].idCommand)
                states[i] = static_cast<BYTE>(SendMessageA(old, TB_GETSTATE, kButtons[i].idCommand, 0));
        GetDlgItemTextA(old, kClockLabelId, clock, sizeof clock);
        DestroyWindow(old);
    }
    ReleaseThemePictures();
    CreateToolbar(mainWindow, dpi);
    if (!old || !ToolbarWindow)
        return;
    for (int i = 0; i < kButtonCount; ++i)
        if (kButtons[i].idCommand)
            SendMessageA(ToolbarWindow, TB_SETSTATE, kButtons[i].idCommand, MAKELPARAM(states[i], 0));
    SetDlgItemTextA(ToolbarWindow, kClockLabelId, clock);
}

void ReleaseClockLabelFont()
{
    if (LabelFont)
        DeleteObject(LabelFont);
    LabelFont = NULL;
    ReleaseThemePictures();
}

void FollowSystemColours(HWND mainWindow, bool coloursChanged)
{
    const bool now = ReadContrastTheme();
    HWND toolbar = GetDlgItem(mainWindow, kToolbarId);
    // A common control learns of new system colours from its parent only.
    if (coloursChanged && toolbar)
        SendMessageA(toolbar, WM_SYSCOLORCHANGE, 0, 0);
    if (toolbar && (MadeForTheme != now || (now && coloursChanged)))
        RebuildToolbar(mainWindow, WindowDpi(mainWindow));
    KeepClassBackground(mainWindow);
    RedrawWindow(mainWindow, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT DrawToolbarItem(const NMTBCUSTOMDRAW* draw)
{
    if (!ContrastThemeOn())
        return CDRF_DODEFAULT;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        // A checked button's own ground, a dither of the button highlight,
        // may be as light as the theme's strokes and hide them; the frame
        // below marks it instead.
        if (draw->nmcd.uItemState & CDIS_CHECKED)
            return CDRF_NOTIFYPOSTPAINT | TBCDRF_NOBACKGROUND | TBCDRF_NOEDGES | TBCDRF_NOOFFSET;
        return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
        // A frame in the button text, which the theme sets apart from the
        // button face.
        if (draw->nmcd.uItemState & CDIS_CHECKED) {
            RECT frame = draw->nmcd.rc;
            const int width = ScaledPixels(2, WindowDpi(draw->nmcd.hdr.hwndFrom));
            HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
            for (int i = 0; i < width; ++i) {
                FrameRect(draw->nmcd.hdc, &frame, ink);
                InflateRect(&frame, -1, -1);
            }
        }
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

const char* TooltipText(UINT_PTR commandId)
{
    for (const Tooltip& tooltip : kTooltips) {
        if (tooltip.commandId == commandId)
            return tooltip.text;
    }
    return NULL;
}

void FillTooltip(TOOLTIPTEXTA* request, UINT_PTR commandId)
{
    // The text is given as a string, not as a resource id.
    request->hinst = NULL;
    const char* text = TooltipText(commandId);
    if (!text)
        return;
    // Written into the request's own buffer, which the longest text fits,
    // whatever lpszText pointed at.
    request->lpszText = request->szText;
    lstrcpyA(request->szText, text);
}

void FillTooltip(TOOLTIPTEXTW* request, UINT_PTR commandId)
{
    request->hinst = NULL;
    const char* text = TooltipText(commandId);
    if (!text)
        return;
    request->lpszText = request->szText;
    lstrcpynW(request->szText, WideText(text).get(), sizeof request->szText / sizeof request->szText[0]);
}
