#include "ui/grid/grid_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <cstring>
#include <new>

#include "play/grid_geometry.h"
#include "play/program_text.h"
#include "play/system_libraries.h"
#include "ui/grid/grid_window.h"

namespace {

const char kGridName[] = "Grille";
const char kCellNameFormat[] = "Ligne %d, colonne %d";
const char kEmptyText[] = "vide";
const char kMarksText[] = ", notes";
const char kGivenText[] =
    "donn\xE9"
    "e";
const char kSelectAction[] = "S\xE9lectionner";

const LONG kSelf = CHILDID_SELF;
const int32_t kGrid = -1;
const int32_t kNoTarget = -2;

HRESULT ReturnText(const char* text, BSTR* out)
{
    const WideText wide(text);
    *out = SystemLibrary::SysAllocStringLen(wide.get(), static_cast<UINT>(lstrlenW(wide.get())));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnChild(LONG child, VARIANT* out)
{
    out->vt = VT_I4;
    out->lVal = child;
    return S_OK;
}

HRESULT ReturnNothing(VARIANT* out)
{
    out->vt = VT_EMPTY;
    return S_FALSE;
}

// The texts a cell reads as, in Windows-1252.
const int kCellTextSize = 64;

void CellName(const GridBoard*, int32_t cell, char* out)
{
    wsprintfA(out, kCellNameFormat, static_cast<int>(cell / 9 + 1), static_cast<int>(cell % 9 + 1));
}

void CellValue(const GridBoard* board, int32_t cell, char* out)
{
    const int16_t value = board->playerGrid[cell];
    if (value >= 1 && value <= kDigitCount) {
        out[0] = static_cast<char>('0' + value);
        out[1] = '\0';
        return;
    }
    // Marks do not show under a digit, so they are read only in an empty cell.
    std::strcpy(out, kEmptyText);
    bool first = true;
    for (int32_t digit = 1; digit <= kDigitCount; ++digit) {
        if (board->pencilMarks[cell * kDigitCount + digit - 1] != 1)
            continue;
        if (first)
            std::strcat(out, kMarksText);
        first = false;
        char mark[3] = {' ', static_cast<char>('0' + digit), '\0'};
        std::strcat(out, mark);
    }
}

void CellDescription(const GridBoard* board, int32_t cell, char* out)
{
    // Before the first game every cell is masked as a given but holds
    // nothing; it is no given the player could read.
    if (board->cellMask[cell] == kGiven && board->playerGrid[cell] != 0)
        std::strcpy(out, kGivenText);
    else
        out[0] = '\0';
}

class GridAccessible final : public IAccessible {
public:
    GridAccessible(GridBoard* board, HWND window) : references_(1), board_(board), window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // Screen readers call the interface directly; nothing goes through IDispatch.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!IsWindow(window_))
            return E_FAIL;
        return SystemLibrary::CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch,
                                                        reinterpret_cast<void**>(parent));
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = kCellCount;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        // The cells are simple elements, answered by this object itself.
        return Target(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return TextOf(child, name, CellName, kGridName);
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return TextOf(child, value, CellValue, nullptr);
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return TextOf(child, description, CellDescription, nullptr);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role)
            return E_POINTER;
        SystemLibrary::VariantInit(role);
        int32_t target = Target(child);
        if (target == kNoTarget)
            return E_INVALIDARG;
        return ReturnChild(target == kGrid ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL, role);
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!state)
            return E_POINTER;
        SystemLibrary::VariantInit(state);
        int32_t target = Target(child);
        if (target == kNoTarget)
            return E_INVALIDARG;
        const bool focused = GetFocus() == window_;
        const int32_t selected = board_->selectedCell;
        LONG flags = 0;
        if (target == kGrid) {
            flags = STATE_SYSTEM_FOCUSABLE;
            if (focused && !IsCell(selected))
                flags |= STATE_SYSTEM_FOCUSED;
            if (board_->toolMode & kBusyFlag)
                flags |= STATE_SYSTEM_BUSY;
        } else if (board_->cellMask[target] != kHidden) {
            flags = STATE_SYSTEM_READONLY;
        } else {
            flags = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
            if (focused && target == selected)
                flags |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
        }
        return ReturnChild(flags, state);
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return NoText(child, help); }

    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        if (!file || !topic)
            return E_POINTER;
        *file = nullptr;
        *topic = -1;
        return Target(child) == kNoTarget ? E_INVALIDARG : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return NoText(child, shortcut);
    }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!focus)
            return E_POINTER;
        SystemLibrary::VariantInit(focus);
        if (GetFocus() != window_)
            return ReturnNothing(focus);
        const int32_t selected = board_->selectedCell;
        return ReturnChild(IsCell(selected) ? selected + 1 : kSelf, focus);
    }

    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!selection)
            return E_POINTER;
        SystemLibrary::VariantInit(selection);
        const int32_t selected = board_->selectedCell;
        if (GetFocus() != window_ || !IsCell(selected))
            return ReturnNothing(selection);
        return ReturnChild(selected + 1, selection);
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!action)
            return E_POINTER;
        *action = nullptr;
        const int32_t target = Target(child);
        if (target == kNoTarget)
            return E_INVALIDARG;
        return Selectable(target) ? ReturnText(kSelectAction, action) : S_FALSE;
    }

    // A cell to fill is selected as a click selects it; selection and focus
    // are one in the grid, so either flag does both. Givens, the grid itself
    // and the cells before the first game cannot be selected.
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        const LONG understood = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
        const int32_t target = Target(child);
        if (target == kNoTarget || (flags & understood) == 0 || (flags & ~understood) != 0)
            return E_INVALIDARG;
        return SelectByReader(target);
    }

    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        int32_t target = Target(child);
        if (target == kNoTarget)
            return E_INVALIDARG;
        RECT area;
        if (target == kGrid) {
            if (!GetWindowRect(window_, &area))
                return E_FAIL;
        } else {
            // The cell's own pixels, border lines included, as painted.
            GridGeometry(board_->dpi).CellRect(target, &area);
            POINT origin = {0, 0};
            if (!ClientToScreen(window_, &origin))
                return E_FAIL;
            OffsetRect(&area, origin.x, origin.y);
        }
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        SystemLibrary::VariantInit(end);
        int32_t from = Target(start);
        if (from == kNoTarget)
            return E_INVALIDARG;
        if (from == kGrid) {
            if (direction == NAVDIR_FIRSTCHILD)
                return ReturnChild(1, end);
            if (direction == NAVDIR_LASTCHILD)
                return ReturnChild(kCellCount, end);
            // The grid's neighbours are the main window's business.
            return ReturnNothing(end);
        }
        // Givens included, unlike the arrow keys: every cell can be read.
        const int32_t row = from / 9;
        const int32_t column = from % 9;
        int32_t to = kNoCell;
        switch (direction) {
        case NAVDIR_UP:
            to = row > 0 ? from - 9 : kNoCell;
            break;
        case NAVDIR_DOWN:
            to = row < 8 ? from + 9 : kNoCell;
            break;
        case NAVDIR_LEFT:
            to = column > 0 ? from - 1 : kNoCell;
            break;
        case NAVDIR_RIGHT:
            to = column < 8 ? from + 1 : kNoCell;
            break;
        case NAVDIR_PREVIOUS:
            to = from > 0 ? from - 1 : kNoCell;
            break;
        case NAVDIR_NEXT:
            to = from < kCellCount - 1 ? from + 1 : kNoCell;
            break;
        default:
            return E_INVALIDARG;  // a cell has no children either
        }
        return to == kNoCell ? ReturnNothing(end) : ReturnChild(to + 1, end);
    }

    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        if (!child)
            return E_POINTER;
        SystemLibrary::VariantInit(child);
        POINT point = {x, y};
        RECT client;
        if (!ScreenToClient(window_, &point) || !GetClientRect(window_, &client) || !PtInRect(&client, point))
            return ReturnNothing(child);
        // The last pixel line belongs to the grid but to no cell.
        int32_t cell = GridGeometry(board_->dpi).CellFromPoint(point.x, point.y);
        return ReturnChild(cell == kNoCell ? kSelf : cell + 1, child);
    }

    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        const int32_t target = Target(child);
        return target == kNoTarget ? E_INVALIDARG : SelectByReader(target);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~GridAccessible() = default;

    // The grid (kGrid), a cell (0 to 80), or kNoTarget for an id that names
    // neither.
    static int32_t Target(const VARIANT& child)
    {
        if (child.vt != VT_I4)
            return kNoTarget;
        if (child.lVal == kSelf)
            return kGrid;
        if (child.lVal >= 1 && child.lVal <= kCellCount)
            return child.lVal - 1;
        return kNoTarget;
    }

    // The grid's text, or the one a writer above makes for a cell; an empty
    // text is no text.
    HRESULT TextOf(const VARIANT& child, BSTR* out, void (*cellText)(const GridBoard*, int32_t, char*),
                   const char* gridText) const
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const int32_t target = Target(child);
        if (target == kNoTarget)
            return E_INVALIDARG;
        if (target == kGrid)
            return gridText ? ReturnText(gridText, out) : S_FALSE;
        char text[kCellTextSize];
        cellText(board_, target, text);
        return text[0] ? ReturnText(text, out) : S_FALSE;
    }

    bool Selectable(int32_t target) const { return target >= 0 && board_->cellMask[target] == kHidden; }

    HRESULT SelectByReader(int32_t target)
    {
        if (!Selectable(target))
            return DISP_E_MEMBERNOTFOUND;
        // While a message box or a dialog is up no click reaches the grid,
        // and a clash's box holds the selection aside: nothing is selected;
        // nor while a new grid is made.
        if (!IsWindow(window_) || !IsWindowEnabled(GetAncestor(window_, GA_ROOT)) || (board_->toolMode & kBusyFlag))
            return E_FAIL;
        SelectCell(board_, window_, target);
        return S_OK;
    }

    static HRESULT NoText(const VARIANT& child, BSTR* out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return Target(child) == kNoTarget ? E_INVALIDARG : S_FALSE;
    }

    LONG references_;
    GridBoard* board_;
    HWND window_;
};

}  // namespace

LRESULT OnGetObject(GridBoard* board, HWND window, WPARAM flags, LPARAM objectId)
{
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT))
        return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
    // COM on this thread from the first request on, so that start-up does
    // without ole32; it stays up until the process ends, since the objects
    // handed out live on in the readers.
    static const bool com = SUCCEEDED(SystemLibrary::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED));
    GridAccessible* object = com ? new (std::nothrow) GridAccessible(board, window) : nullptr;
    if (!object)
        return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
    LRESULT result = SystemLibrary::LresultFromObject(IID_IAccessible, flags, object);
    object->Release();
    // Without COM on this thread the object cannot be handed out; the
    // system's plain client object is better than nothing. A failure is an
    // error code, so negative; a reference is positive and, in a 64-bit
    // build, may not fit an HRESULT.
    if (result < 0)
        return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
    return result;
}

void AnnounceFocus(const GridBoard* board, HWND window, bool selectionChanged)
{
    const int32_t selected = board->selectedCell;
    if (!IsCell(selected)) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
        return;
    }
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, selected + 1);
    if (selectionChanged)
        NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, selected + 1);
}
