// The grid as a screen reader meets it, from this process: the accessible
// object the grid window hands out, what its cells read, where they are, how
// object navigation walks them, and the events that moves send.
#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"
#include "tests/e2e/soak_model.h"

namespace {

struct HeardEvent {
    DWORD event;
    HWND window;
    LONG object, child;
};
std::vector<HeardEvent> heard;

void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    heard.push_back({event, window, object, child});
}

VARIANT Child(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

LONG ChildOf(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }

// A text property in UTF-8, which shows whether the accents came through;
// "-" when the object gives none.
std::string Text(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), LONG child)
{
    BSTR text = nullptr;
    std::string out = "-";
    if (SUCCEEDED((object->*get)(Child(child), &text)) && text) {
        int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        out.assign(size > 0 ? size : 1, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
        out.resize(out.size() - 1);
    }
    SysFreeString(text);
    return out;
}

LONG Number(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG child)
{
    VARIANT out;
    VariantInit(&out);
    LONG value = SUCCEEDED((object->*get)(Child(child), &out)) ? ChildOf(out) : -1;
    VariantClear(&out);
    return value;
}

// What a screen reader says for an object: name | value | description.
std::string Reading(IAccessible* object, LONG child)
{
    return Text(object, &IAccessible::get_accName, child) + " | " + Text(object, &IAccessible::get_accValue, child) +
           " | " + Text(object, &IAccessible::get_accDescription, child);
}

LONG Navigate(IAccessible* object, LONG from, LONG direction)
{
    VARIANT end;
    VariantInit(&end);
    object->accNavigate(direction, Child(from), &end);
    return ChildOf(end);
}

// Pumps this thread's messages, which carry out-of-context events, until
// the grid sends kind for child after the first `from` events; then reads
// the event's object as a screen reader would, logs it and returns its value
// ("" when no such event came).
std::string Hear(HWND grid, DWORD kind, LONG child, size_t from, const char* move)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
        for (size_t i = from; i < heard.size(); ++i) {
            const HeardEvent& e = heard[i];
            if (e.event != kind || e.window != grid || e.object != OBJID_CLIENT || e.child != child)
                continue;
            IAccessible* object = nullptr;
            VARIANT id;
            VariantInit(&id);
            if (!Expect(SUCCEEDED(AccessibleObjectFromEvent(e.window, e.object, e.child, &object, &id)) && object,
                        "%s: the event's object is at hand", move))
                return "";
            Note("screen reader, %s: %s", move, Reading(object, ChildOf(id)).c_str());
            std::string value = Text(object, &IAccessible::get_accValue, ChildOf(id));
            object->Release();
            return value;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    Expect(false, "%s: event 0x%lX for child %ld", move, kind, child);
    return "";
}

LONG FocusedChild(IAccessible* object)
{
    VARIANT focus;
    VariantInit(&focus);
    object->get_accFocus(&focus);
    return ChildOf(focus);
}

// A game begun and played with the keyboard alone, as a blind player plays
// it: real key presses, no click and no message posted to the grid.
void KeyboardAlone(GameSession& game, IAccessible* table)
{
    HWND grid = game.Grid();
    auto reads = [&](int cell, const std::string& text) {
        return WaitUntil([&] { return Text(table, &IAccessible::get_accValue, cell + 1) == text; }, 5000);
    };
    Expect(game.FocusWindow() == grid, "at start the keyboard focus is on the grid");
    game.PressKeys({VK_MENU, VK_DOWN, VK_RETURN});
    Require(WaitUntil([&] { return game.ButtonEnabled(kSave); }, 240000, 200),
            "Alt, Down, Enter: \"Nouvelle grille\" makes a game");
    // In a new game the cells to fill are the empty ones; `roomy`, the last
    // where two marks fit, is rarely the first cell to fill too.
    int16_t values[81];
    std::vector<int> free[81];
    int first = -1, roomy = -1;
    for (int cell = 0; cell < 81; ++cell) {
        std::string value = Text(table, &IAccessible::get_accValue, cell + 1);
        values[cell] = static_cast<int16_t>(value.size() == 1 ? value[0] - '0' : 0);
    }
    for (int cell = 80; cell >= 0; --cell) {
        BoxKind kind;
        for (int digit = 1; digit <= 9 && values[cell] == 0; ++digit)
            if (FindClash(values, cell, digit, &kind) < 0)
                free[cell].push_back(digit);
        if (values[cell] == 0)
            first = cell;
        if (free[cell].size() >= 2 && roomy < 0)
            roomy = cell;
    }
    Require(first >= 0 && roomy >= 0, "the new grid has cells to fill, one where two marks fit");

    game.PressKeys({VK_RIGHT});
    Expect(WaitUntil([&] { return FocusedChild(table) == first + 1; }, 5000) && game.FocusWindow() == grid,
           "an arrow with nothing selected selects the first cell to fill, child %d (%ld)", first + 1,
           FocusedChild(table));
    const int digit = free[first][0];
    game.PressKeys({'0' + digit});
    Expect(reads(first, std::to_string(digit)), "%d typed lands in it", digit);
    game.PressKeys({VK_DELETE});
    Expect(reads(first, "vide"), "Delete clears it");

    // The player's screen reader selects the cell for the marks.
    Expect(Text(table, &IAccessible::get_accDefaultAction, roomy + 1) == "S\u00e9lectionner" &&
               table->accSelect(SELFLAG_TAKEFOCUS, Child(roomy + 1)) == S_OK && FocusedChild(table) == roomy + 1,
           "a screen reader selects cell %d with its action \"S\u00e9lectionner\"", roomy);
    const int a = free[roomy][0], b = free[roomy][1];
    const std::string marks = "vide, notes " + std::to_string(a) + " " + std::to_string(b);
    game.PressKeys({VK_MENU, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN, '0' + a, '0' + b});
    Expect(reads(roomy, marks), "\"Crayon\" chosen with the keys, marks %d and %d", a, b);
    game.PressKeys({VK_DELETE});
    Expect(reads(roomy, "vide"), "Delete clears both marks");
    game.PressKeys({VK_MENU, VK_RIGHT, VK_DOWN, VK_RETURN});
    Expect(reads(roomy, marks), "one \"Annuler\" brings both back");
    game.PressKeys({VK_MENU, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    Expect(WaitUntil([&] { return game.ButtonChecked(kPen); }, 5000), "\"Stylo\" chosen with the keys");

    // Away to another window and back, as Alt+Tab does; an arrow then selects
    // the cell the focus left.
    HWND other = CreateWindowExA(0, "Static", "", WS_POPUP | WS_CAPTION | WS_VISIBLE, 600, 300, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    bool away = WaitUntil([&] { return game.FocusWindow() != grid; }, 10000);
    SetForegroundWindow(game.Main());
    bool back = WaitUntil([&] { return game.FocusWindow() == grid; }, 10000);
    DestroyWindow(other);
    game.PressKeys({VK_LEFT, '0' + a});
    Expect(away && back && reads(roomy, std::to_string(a)),
           "the focus goes to another window (%d) and back to the grid (%d), "
           "where an arrow and %d fill cell %d",
           away, back, a, roomy);
}

struct ComApartment {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComApartment()
    {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
};

void Accessibility(GameSession& game)
{
    ComApartment com;
    game.Launch();
    HWND grid = game.Grid();
    DWORD pid = 0;
    GetWindowThreadProcessId(grid, &pid);
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, Listen, pid, 0, WINEVENT_OUTOFCONTEXT);
    IAccessible* table = nullptr;
    AccessibleObjectFromWindow(grid, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&table));
    Require(SUCCEEDED(com.result) && hook && table,
            "COM, an out-of-context event hook and the grid's accessible object");
    LONG children = 0;
    table->get_accChildCount(&children);
    Expect(children == 81 && Number(table, &IAccessible::get_accRole, CHILDID_SELF) == ROLE_SYSTEM_TABLE,
           "the grid is a table of 81 children (%ld) named %s", children, Reading(table, CHILDID_SELF).c_str());

    KeyboardAlone(game, table);

    // Row 4 to fill but for its first cell; cell 38 holds marks 7 and 2, cell
    // 44 the player's 4; 1 is the one digit that fits at cell 41.
    size_t mark = heard.size();
    GameImage image = RowFourGame();
    image.Mark(38, 7).Mark(38, 2).Fill(44, 4);
    Require(LoadPrepared(game, image, "accessible.nro"), "the prepared game loads");
    Hear(grid, EVENT_OBJECT_REORDER, CHILDID_SELF, mark, "game loaded");

    const LONG fillable = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    const struct {
        int cell;
        const char* reading;
        LONG state;
    } cells[] = {
        {0, "Ligne 1, colonne 1 | 1 | donn\u00e9e", STATE_SYSTEM_READONLY},
        {40, "Ligne 5, colonne 5 | vide | -", fillable},
        {38, "Ligne 5, colonne 3 | vide, notes 2 7 | -", fillable},
        {44, "Ligne 5, colonne 9 | 4 | -", fillable},
    };
    for (const auto& c : cells) {
        std::string reading = Reading(table, c.cell + 1);
        LONG state = Number(table, &IAccessible::get_accState, c.cell + 1);
        Expect(reading == c.reading && state == c.state &&
                   Number(table, &IAccessible::get_accRole, c.cell + 1) == ROLE_SYSTEM_CELL,
               "cell %d reads %s, state 0x%lX (expected %s, 0x%lX)", c.cell, reading.c_str(), state, c.reading,
               c.state);
    }

    RECT window;
    GetWindowRect(grid, &window);
    const LONG left = window.left + Scaled(4 * 51), top = window.top + Scaled(4 * 51);
    const int side = Scaled(4 * 51 + 52) - Scaled(4 * 51);
    VARIANT hit;
    VariantInit(&hit);
    table->accHitTest(window.left + Scaled(4 * 51 + 26), window.top + Scaled(4 * 51 + 26), &hit);
    LONG x = 0, y = 0, width = 0, height = 0;
    table->accLocation(&x, &y, &width, &height, Child(41));
    Expect(ChildOf(hit) == 41 && x == left && y == top && width == side && height == side,
           "cell 40's centre hits child 41 (%ld), which lies at (%ld, %ld), %d x %d (%ld, %ld, %ld x %ld)",
           ChildOf(hit), left, top, side, side, x, y, width, height);

    LONG at = 1;
    for (int step = 0; step < 8; ++step)
        at = Navigate(table, at, NAVDIR_RIGHT);
    Expect(at == 9 && Navigate(table, 9, NAVDIR_RIGHT) == -1,
           "right eight times from child 1 reaches child 9, and stops (%ld)", at);
    Expect(Navigate(table, 1, NAVDIR_DOWN) == 10, "down from child 1 is child 10, over the givens");

    // Moves as a player makes them, each with what a screen reader hears.
    mark = heard.size();
    game.ClickCell(40);
    Hear(grid, EVENT_OBJECT_FOCUS, 41, mark, "click on cell 40");
    Hear(grid, EVENT_OBJECT_SELECTION, 41, mark, "the same click");
    mark = heard.size();
    game.Key(VK_RIGHT);
    Hear(grid, EVENT_OBJECT_FOCUS, 42, mark, "right arrow");
    Expect(Number(table, &IAccessible::get_accState, 42) == (fillable | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED),
           "the cell reached reads as focused and selected");
    mark = heard.size();
    game.Char('1');
    std::string value = Hear(grid, EVENT_OBJECT_VALUECHANGE, 42, mark, "pen digit 1");
    Expect(value == "1", "the value-change event's object reads 1 (%s)", value.c_str());
    mark = heard.size();
    game.Command(kUndo);
    value = Hear(grid, EVENT_OBJECT_VALUECHANGE, 42, mark, "Annuler");
    Expect(value == "vide", "after Undo it reads vide (%s)", value.c_str());
    game.Command(kPencil);
    mark = heard.size();
    game.Char('1');
    Hear(grid, EVENT_OBJECT_VALUECHANGE, 42, mark, "pencil mark 1");

    // 5 stands at cell 36, in the same row as cell 39.
    game.Command(kPen);
    game.ClickCell(39);
    mark = heard.size();
    game.PostChar('5');
    BoxInfo box = game.WaitForBox(15000);
    if (Expect(box.window != nullptr, "a clashing 5 is refused"))
        game.CloseBox(box.window);
    Hear(grid, EVENT_OBJECT_FOCUS, 40, mark, "refused 5, once the box is closed");

    table->Release();
    UnhookWinEvent(hook);
}

}  // namespace

void AddAccessibilityScenarios(std::vector<Scenario>& list) { list.push_back({"accessibility", Accessibility}); }
