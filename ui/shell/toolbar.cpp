#include "ui/shell/toolbar.h"

#include "play/grid_board.h"
#include "play/program_text.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/command_ids.h"

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

const TBBUTTON kButtons[16] = {
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {0, kNewGameCommand, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {1, kOpenCommand, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {2, kSaveCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {3, kSolutionCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {4, kPrintCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {5, kUndoMenuCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {6, kRedoMenuCommand, 0, TBSTYLE_BUTTON, {0, 0}, 0, 0},
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
    {kUndoMenuCommand, "Annuler la derni\xE8re action"},
    {kRedoMenuCommand, "R\xE9p\xE9ter la derni\xE8re annulation"},
    {kPenCommand, "Utiliser le mode stylo"},
    {kPencilCommand, "Utiliser le mode crayon"},
    {kEraserCommand, "Utiliser le mode gomme"},
};

}  // namespace

void CreateToolbar(HWND mainWindow)
{
    HWND toolbar = CreateWindowExA(WS_EX_DLGMODALFRAME, TOOLBARCLASSNAMEA, NULL,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0, 0, 0,
                                   mainWindow, reinterpret_cast<HMENU>(kToolbarId), AppInstance, NULL);
    ToolbarWindow = toolbar;
    if (!toolbar)
        return;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    TBADDBITMAP images = {AppInstance, kToolbarBitmapId};
    SendMessageA(toolbar, TB_ADDBITMAP, kImageCount, reinterpret_cast<LPARAM>(&images));
    SendMessageA(toolbar, TB_ADDBUTTONSA, sizeof(kButtons) / sizeof(kButtons[0]),
                 reinterpret_cast<LPARAM>(kButtons));

    TBBUTTONINFOA placeholder = {};
    placeholder.cbSize = sizeof(placeholder);
    placeholder.dwMask = TBIF_SIZE;
    placeholder.cx = kPlaceholderWidth;
    SendMessageA(toolbar, TB_SETBUTTONINFOA, kClockLabelId, reinterpret_cast<LPARAM>(&placeholder));

    RECT slot = {0, 0, 0, 0};
    LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, kClockLabelId, 0);
    SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&slot));
    HWND label = CreateWindowExA(0, "Static", NULL, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                                 slot.left + kLabelShiftX, slot.top + kLabelShiftY, slot.right - slot.left,
                                 kLabelHeight, toolbar, reinterpret_cast<HMENU>(kClockLabelId), AppInstance,
                                 NULL);
    SetWindowTextA(label, "00 : 00 : 00");
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
