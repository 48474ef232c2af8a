// The grid as a screen reader meets it, from this process: the accessible
// object the grid window hands out, what its cells read, where they are, how
// object navigation walks them, and the events that moves send.
#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"

namespace {

struct HeardEvent {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};

std::vector<HeardEvent> heard;

void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  heard.push_back({event, window, object, child});
}

std::string Narrow(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// A text property; "(none)" when the object gives no text.
std::wstring Text(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), LONG child) {
  BSTR text = nullptr;
  HRESULT result = (object->*get)(Child(child), &text);
  std::wstring out = SUCCEEDED(result) && text ? std::wstring(text, SysStringLen(text)) : L"(none)";
  SysFreeString(text);
  return out;
}

std::wstring Name(IAccessible* object, LONG child) { return Text(object, &IAccessible::get_accName, child); }
std::wstring Value(IAccessible* object, LONG child) { return Text(object, &IAccessible::get_accValue, child); }
std::wstring Description(IAccessible* object, LONG child) {
  return Text(object, &IAccessible::get_accDescription, child);
}

LONG Number(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG child) {
  VARIANT out;
  VariantInit(&out);
  HRESULT result = (object->*get)(Child(child), &out);
  LONG value = SUCCEEDED(result) && out.vt == VT_I4 ? out.lVal : -1;
  VariantClear(&out);
  return value;
}

LONG Role(IAccessible* object, LONG child) { return Number(object, &IAccessible::get_accRole, child); }
LONG State(IAccessible* object, LONG child) { return Number(object, &IAccessible::get_accState, child); }

// The child id a VARIANT answer names; 0 for the object itself, -1 for none.
LONG ChildOf(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }

LONG Navigate(IAccessible* object, LONG from, LONG direction) {
  VARIANT end;
  VariantInit(&end);
  object->accNavigate(direction, Child(from), &end);
  LONG to = ChildOf(end);
  VariantClear(&end);
  return to;
}

// Pumps this thread's messages, which is how out-of-context events arrive,
// until an event of the grid's client area matching kind and child (any
// child when child is -1) has come after the first `from` events.
int WaitForEvent(HWND grid, DWORD kind, LONG child, size_t from, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  for (;;) {
    for (size_t i = from; i < heard.size(); ++i)
      if (heard[i].event == kind && heard[i].window == grid && heard[i].object == OBJID_CLIENT &&
          (child < 0 || heard[i].child == child))
        return static_cast<int>(i);
    if (GetTickCount() - start > timeoutMs) return -1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

// What a screen reader says for the object an event names, read as it
// would: through AccessibleObjectFromEvent, name, value, description.
std::wstring Announce(const HeardEvent& event) {
  IAccessible* object = nullptr;
  VARIANT child;
  VariantInit(&child);
  if (FAILED(AccessibleObjectFromEvent(event.window, event.object, event.child, &object, &child)) || !object)
    return L"(no object)";
  LONG id = ChildOf(child);
  std::wstring words = Name(object, id) + L", " + Value(object, id);
  std::wstring description = Description(object, id);
  if (description != L"(none)") words += L", " + description;
  object->Release();
  VariantClear(&child);
  return words;
}

std::wstring ValueFromEvent(const HeardEvent& event) {
  IAccessible* object = nullptr;
  VARIANT child;
  VariantInit(&child);
  if (FAILED(AccessibleObjectFromEvent(event.window, event.object, event.child, &object, &child)) || !object)
    return L"(no object)";
  std::wstring value = Value(object, ChildOf(child));
  object->Release();
  VariantClear(&child);
  return value;
}

// Waits for the event, logs what a screen reader would say for it, and
// returns that event's value (or "" when none came).
std::wstring Hear(HWND grid, DWORD kind, LONG child, size_t from, const char* move) {
  int index = WaitForEvent(grid, kind, child, from);
  const char* what = kind == EVENT_OBJECT_FOCUS ? "focus" : kind == EVENT_OBJECT_VALUECHANGE ? "value change" : "event";
  if (!Expect(index >= 0, "%s: a %s event for child %ld", move, what, child)) return L"";
  Note("screen reader, %s (%s): \"%s\"", move, what, Narrow(Announce(heard[index])).c_str());
  return ValueFromEvent(heard[index]);
}

struct ComApartment {
  HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComApartment() {
    if (SUCCEEDED(result)) CoUninitialize();
  }
};

struct CellReading {
  int cell;
  const wchar_t* name;
  const wchar_t* value;
  const wchar_t* description;
  LONG state;
};

void Accessibility(GameSession& game) {
  ComApartment com;
  Require(SUCCEEDED(com.result), "COM starts in the driver (0x%08lX)", static_cast<unsigned long>(com.result));
  game.Launch();
  HWND grid = game.Grid();
  DWORD pid = 0;
  GetWindowThreadProcessId(grid, &pid);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, Listen, pid, 0,
                                       WINEVENT_OUTOFCONTEXT);
  Require(hook != nullptr, "an out-of-context event hook on the game's process");

  IAccessible* table = nullptr;
  HRESULT got = AccessibleObjectFromWindow(grid, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&table));
  Require(SUCCEEDED(got) && table, "the grid window gives an accessible object (0x%08lX)", static_cast<unsigned long>(got));
  LONG children = 0;
  table->get_accChildCount(&children);
  Expect(children == 81, "the grid has 81 children (%ld)", children);
  Expect(Name(table, CHILDID_SELF) == L"Grille" && Role(table, CHILDID_SELF) == ROLE_SYSTEM_TABLE,
         "the grid is a table named \"Grille\" (%s, role %ld)", Narrow(Name(table, CHILDID_SELF)).c_str(),
         Role(table, CHILDID_SELF));
  IDispatch* parent = nullptr;
  Expect(SUCCEEDED(table->get_accParent(&parent)) && parent, "the grid has a parent object to walk up to");
  if (parent) parent->Release();

  // Row 4 to fill but for its first cell; cell 38 holds marks 2 and 7, cell
  // 44 the player's 4; cell 41's digit is 1 and nothing else fits there.
  size_t beforeLoad = heard.size();
  GameImage image = RowFourGame();
  image.Mark(38, 7).Mark(38, 2).Fill(44, 4);
  Require(LoadPrepared(game, image, "accessible.nro"), "the prepared game loads");
  Expect(WaitForEvent(grid, EVENT_OBJECT_REORDER, CHILDID_SELF, beforeLoad) >= 0,
         "loading the game sends a reorder event for the grid");

  const LONG fillable = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  const CellReading readings[] = {
      {0, L"Ligne 1, colonne 1", L"1", L"donn\u00e9e", STATE_SYSTEM_READONLY},
      {36, L"Ligne 5, colonne 1", L"5", L"donn\u00e9e", STATE_SYSTEM_READONLY},
      {40, L"Ligne 5, colonne 5", L"vide", L"(none)", fillable},
      {38, L"Ligne 5, colonne 3", L"vide, notes 2 7", L"(none)", fillable},
      {44, L"Ligne 5, colonne 9", L"4", L"(none)", fillable},
      {80, L"Ligne 9, colonne 9", L"8", L"donn\u00e9e", STATE_SYSTEM_READONLY},
  };
  for (const CellReading& r : readings) {
    LONG id = r.cell + 1;
    std::wstring name = Name(table, id), value = Value(table, id), description = Description(table, id);
    LONG state = State(table, id);
    Expect(name == r.name && value == r.value && description == r.description && state == r.state &&
               Role(table, id) == ROLE_SYSTEM_CELL,
           "cell %d reads \"%s\", \"%s\", description \"%s\", state 0x%lX (expected \"%s\", \"%s\", \"%s\", 0x%lX)",
           r.cell, Narrow(name).c_str(), Narrow(value).c_str(), Narrow(description).c_str(), state,
           Narrow(r.name).c_str(), Narrow(r.value).c_str(), Narrow(r.description).c_str(), r.state);
  }

  RECT window;
  GetWindowRect(grid, &window);
  for (int cell : {0, 40, 80}) {
    POINT centre = {window.left + (cell % 9) * 51 + 26, window.top + (cell / 9) * 51 + 26};
    VARIANT hit;
    VariantInit(&hit);
    table->accHitTest(centre.x, centre.y, &hit);
    LONG left = 0, top = 0, width = 0, height = 0;
    table->accLocation(&left, &top, &width, &height, Child(cell + 1));
    Expect(ChildOf(hit) == cell + 1, "the centre of cell %d hits child %d (%ld)", cell, cell + 1, ChildOf(hit));
    Expect(left == window.left + (cell % 9) * 51 && top == window.top + (cell / 9) * 51 && width == 52 && height == 52,
           "cell %d lies at (%ld, %ld), 52 x 52 on screen (%ld, %ld, %ld x %ld)", cell,
           window.left + (cell % 9) * 51, window.top + (cell / 9) * 51, left, top, width, height);
  }
  VARIANT outside;
  VariantInit(&outside);
  table->accHitTest(window.left - 5, window.top + 20, &outside);
  Expect(ChildOf(outside) == -1, "a point left of the grid hits nothing (%ld)", ChildOf(outside));

  LONG at = 1;
  for (int step = 0; step < 8 && at > 0; ++step) at = Navigate(table, at, NAVDIR_RIGHT);
  Expect(at == 9, "eight steps right from child 1 reach child 9 over the givens (%ld)", at);
  Expect(Navigate(table, 9, NAVDIR_RIGHT) == -1, "there is nothing right of child 9");
  Expect(Navigate(table, 1, NAVDIR_DOWN) == 10, "down from child 1 is child 10 (%ld)", Navigate(table, 1, NAVDIR_DOWN));
  Expect(Navigate(table, 9, NAVDIR_NEXT) == 10 && Navigate(table, 81, NAVDIR_NEXT) == -1,
         "next runs on in row order and stops after child 81");

  // Moves as a player makes them, each with what a screen reader hears.
  size_t mark = heard.size();
  game.ClickCell(40);
  Hear(grid, EVENT_OBJECT_FOCUS, 41, mark, "click on cell 40");
  Expect(WaitForEvent(grid, EVENT_OBJECT_SELECTION, 41, mark) >= 0, "the click sends a selection event for child 41");
  Expect((State(table, 41) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED)) ==
             (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED),
         "the selected cell reads as focused and selected (state 0x%lX)", State(table, 41));

  mark = heard.size();
  game.Key(VK_RIGHT);
  Hear(grid, EVENT_OBJECT_FOCUS, 42, mark, "right arrow");
  VARIANT focus;
  VariantInit(&focus);
  table->get_accFocus(&focus);
  Expect(ChildOf(focus) == 42, "the grid's focus is child 42 after the arrow (%ld)", ChildOf(focus));

  mark = heard.size();
  game.Char('1');
  std::wstring value = Hear(grid, EVENT_OBJECT_VALUECHANGE, 42, mark, "pen digit 1");
  Expect(value == L"1", "the value-change event's object reads \"1\" (%s)", Narrow(value).c_str());

  mark = heard.size();
  game.Command(kUndo);
  value = Hear(grid, EVENT_OBJECT_VALUECHANGE, 42, mark, "Annuler");
  Expect(value == L"vide", "after Undo the cell reads \"vide\" (%s)", Narrow(value).c_str());

  game.Command(kPencil);
  game.ClickCell(41);
  mark = heard.size();
  game.Char('1');
  value = Hear(grid, EVENT_OBJECT_VALUECHANGE, 42, mark, "pencil mark 1");
  Expect(value == L"vide, notes 1", "the marked cell reads \"vide, notes 1\" (%s)", Narrow(value).c_str());

  game.Command(kPen);
  game.ClickCell(39);
  mark = heard.size();
  game.PostChar('5');  // 5 stands at cell 36 in the same row
  BoxInfo box = game.WaitForBox(15000);
  if (Expect(box.window != nullptr, "a clashing digit is refused with a message box")) game.CloseBox(box.window);
  int taken = WaitForEvent(grid, EVENT_OBJECT_VALUECHANGE, 40, mark);
  int back = taken >= 0 ? WaitForEvent(grid, EVENT_OBJECT_VALUECHANGE, 40, taken + 1) : -1;
  Expect(taken >= 0 && back >= 0, "the refused digit is announced as it shows and as it is taken back");
  if (back >= 0)
    Note("screen reader, refused 5 taken back (value change): \"%s\"", Narrow(Announce(heard[back])).c_str());
  Hear(grid, EVENT_OBJECT_FOCUS, 40, mark, "focus back after the refusal");

  VariantClear(&focus);
  table->Release();
  UnhookWinEvent(hook);
}

}  // namespace

void AddAccessibilityScenarios(std::vector<Scenario>& list) { list.push_back({"accessibility", Accessibility}); }
