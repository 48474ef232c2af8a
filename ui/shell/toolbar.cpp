#include "ui/shell/toolbar.h"

#include "play/grid_board.h"
#include "play/program_text.h"
#include "resources/image_scales.h"
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
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0, 0, 0,
                                   mainWindow, reinterpret_cast<HMENU>(kToolbarId), AppInstance, NULL);
    ToolbarWindow = toolbar;
    if (!toolbar)
        return;
    // Pictures drawn for a lower scale than the window's keep their own
    // size and sit in the scaled buttons unstretched.
    const int bitmapId = BitmapIdForDpi(AppInstance, kToolbarBitmapId, dpi);
    const int imageSize =
        bitmapId == kToolbarBitmapId ? kImageSize : MulDiv(kImageSize, ImageScaleFor(dpi), 100);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(ScaledPixels(kButtonWidth, dpi), ScaledPixels(kButtonHeight, dpi)));
    TBADDBITMAP images = {AppInstance, static_cast<UINT_PTR>(bitmapId)};
    SendMessageA(toolbar, TB_ADDBITMAP, kImageCount, reinterpret_cast<LPARAM>(&images));
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
    HWND label = CreateWindowExA(0, "Static", NULL, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                                 slot.left + ScaledPixels(kLabelShiftX, dpi),
                                 slot.top + ScaledPixels(kLabelShiftY, dpi), slot.right - slot.left,
                                 ScaledPixels(kLabelHeight, dpi), toolbar,
                                 reinterpret_cast<HMENU>(kClockLabelId), AppInstance, NULL);
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
