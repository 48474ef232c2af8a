// Scenarios about play: refused duplicates, the win, and undo and redo.
#include <algorithm>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"

namespace {

// To a display of the other scale and back while a box is up: the box stays,
// the grid follows each scale, and the game under the box is left alone.
void ChangeScaleUnderBox(GameSession& game, const char* box)
{
    for (int dpi : {game.Dpi() == 96 ? 144 : 96, game.Dpi()}) {
        game.ChangeScale(dpi);
        game.Drain();
        RECT grid;
        GetWindowRect(game.Grid(), &grid);
        Expect(game.MessageBoxes().size() == 1 && grid.right - grid.left == MulDiv(460, dpi, 96),
               "at %d DPI under the %s box, the box stays and the grid is %d pixels wide (%ld)", dpi, box,
               MulDiv(460, dpi, 96), grid.right - grid.left);
    }
}

// Types a clashing digit at the selected cell and checks the one box that
// follows, the flashing pair of cells behind it, and the empty cell after.
void ExpectRefusal(GameSession& game, GridView& view, char digit, int clashCell, const char* text, bool pen,
                   bool changeScale = false)
{
    int cell = 40;
    game.PostChar(digit);
    BoxInfo box = game.WaitForBox(15000);
    if (!Expect(box.window != nullptr, "'%c' at cell %d is refused with a message box", digit, cell))
        return;
    Expect(box.caption == kClashCaption && box.text == text, "the box reads %s / %s (expected \"Doublons\" / %s)",
           Quoted(box.caption).c_str(), Quoted(box.text).c_str(), Quoted(text).c_str());
    game.MoveAside(box.window);
    if (changeScale)
        ChangeScaleUnderBox(game, "\"Doublons\"");

    int together = 0, neither = 0, inkWhileUp = 0, maxBoxes = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2200) {
        ScreenShot shot = view.Shot();
        CellLook refused = LookAt(shot, cell), clash = LookAt(shot, clashCell);
        if (refused.back == Back::Conflict && clash.back == Back::Conflict)
            ++together;
        if (refused.back != Back::Conflict && clash.back != Back::Conflict)
            ++neither;
        if (pen && refused.HasPlayerDigit())
            ++inkWhileUp;
        maxBoxes = std::max(maxBoxes, static_cast<int>(game.MessageBoxes().size()));
        Sleep(40);
    }
    Expect(together > 0 && neither > 0,
           "cells %d and %d flash together in RGB(182,210,143) while the box is up (%d on, %d off)", cell, clashCell,
           together, neither);
    if (pen)
        Expect(inkWhileUp > 0, "the refused digit shows in its cell while the box is up");
    Expect(maxBoxes == 1, "exactly one message box is up (%d seen)", maxBoxes);
    game.CloseBox(box.window);
    ExpectNoBoxFor(game, 800, "after the refusal was acknowledged");
    Expect(WaitForInk(view, cell, false, false), "cell %d is empty after the refusal", cell);
    Expect(view.WaitForSelection(cell, pen ? Back::Pen : Back::Pencil), "cell %d is selected again after the box",
           cell);
}

void Duplicates(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, RowFourGame(), "duplicates.nro"), "the prepared game loads");
    GridView view(game);
    game.ClickCell(40);
    view.WaitForSelection(40, Back::Pen);

    // 5 stands in row 4 (cell 36), column 4 (cell 4) and box 4 (cell 30): only the row is told.
    ExpectRefusal(game, view, '5', 36, kRowClashText, true, true);
    ExpectUndoRedo(game, false, false, "after a refused digit");
    Expect(WaitUntil([&] { return ClockSeconds(game.Clock()) >= 1; }, 6000),
           "the refused first digit started the clock (%s)", Quoted(game.Clock()).c_str());
    ExpectRefusal(game, view, '6', 31, kColumnClashText, true);
    ExpectRefusal(game, view, '4', 50, kBoxClashText, true);
    ExpectUndoRedo(game, false, false, "after three refusals");

    game.Command(kPencil);
    game.ClickCell(40);
    view.WaitForSelection(40, Back::Pencil);
    ExpectRefusal(game, view, '5', 36, kRowClashText, false);
    ExpectUndoRedo(game, false, false, "after a refused pencil mark");

    // A refusal empties a cell that held a value; the history still holds it.
    game.Command(kPen);
    game.ClickCell(40);
    game.Char('9');
    ExpectNoBoxFor(game, 1200, "'9' at cell 40");
    Expect(WaitForInk(view, 40, true, false), "the accepted 9 shows in cell 40");
    {
        ScreenShot shot = view.Shot();
        RECT inside = CellInterior(40);
        Expect(shot.Count(inside, RGB(0, 0, 0)) > 0 && shot.Count(inside, kGivenInk) == 0,
               "the player's digit is black, not a given's RGB(0,0,220)");
    }
    ExpectUndoRedo(game, true, false, "after an accepted digit");
    ExpectRefusal(game, view, '5', 36, kRowClashText, true);
    ExpectUndoRedo(game, true, false, "after a refusal over an accepted digit");
    game.Command(kUndo);
    game.Command(kRedo);
    Expect(WaitForInk(view, 40, true, false), "Undo then Redo brings the 9 back into cell 40");

    // Closed from outside while a clash's box is up, the game ends cleanly.
    // Wine's default handling passes over the taskbar's SC_CLOSE to a window
    // a box has disabled; a plain WM_CLOSE, as taskkill posts it, closes.
    game.PostChar('5');
    BoxInfo box = game.WaitForBox(15000);
    Require(box.window != nullptr, "a clashing 5 brings up the box again");
    PostMessageA(game.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    game.Drain();
    if (game.Running())
        PostMessageA(game.Main(), WM_CLOSE, 0, 0);
    DWORD code = 12345;
    const bool ended = game.WaitForExit(20000, &code);
    Expect(ended && code == 0, "closed under the box, the game ends with exit code 0 (%lu)", code);
}

void Win(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, GameImage::Solved().Hide({40, 80}), "nearly-done.nro"), "the prepared game loads");
    GridView view(game);
    Expect(game.Clock() == kClockRestText, "the clock reads 00 : 00 : 00 after loading");
    Sleep(1500);
    Expect(game.Clock() == kClockRestText, "the clock waits for the first digit (%s)", Quoted(game.Clock()).c_str());

    game.ClickCell(40);
    game.Char('9');
    DWORD firstDigit = Now();
    ExpectNoBoxFor(game, 1000, "the first of the two missing digits");
    Expect(WaitUntil([&] { return ClockSeconds(game.Clock()) >= 3; }, 20000),
           "the clock counts from the first digit (%s)", Quoted(game.Clock()).c_str());

    game.ClickCell(80);
    game.PostChar('8');
    BoxInfo box = game.WaitForBox(15000);
    DWORD won = Now();
    Require(box.window != nullptr, "the last digit brings up a message box");
    int final = ClockSeconds(game.Clock());
    Expect(box.caption == kProgramCaption && box.text == kWinText, "the win box reads %s / %s",
           Quoted(box.caption).c_str(), Quoted(box.text).c_str());
    int elapsed = static_cast<int>((won - firstDigit) / 1000);
    Expect(final >= 3 && final <= elapsed + 1, "the clock stopped at %d s, %d s after the first digit", final, elapsed);

    int maxBoxes = 0;
    bool steady = true;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2500) {
        maxBoxes = std::max(maxBoxes, static_cast<int>(game.MessageBoxes().size()));
        steady = steady && ClockSeconds(game.Clock()) == final;
        Sleep(100);
    }
    Expect(maxBoxes == 1, "exactly one win box (%d seen)", maxBoxes);
    ChangeScaleUnderBox(game, "win");
    Expect(steady, "the clock stays stopped while the box is up (%s)", Quoted(game.Clock()).c_str());
    game.CloseBox(box.window);
    ExpectNoBoxFor(game, 2000, "after the win box was closed");
    Expect(ClockSeconds(game.Clock()) == final, "the clock keeps its last time %d (%s)", final,
           Quoted(game.Clock()).c_str());

    // The box has just closed over the grid.
    ScreenShot shot = view.SteadyShot();
    int complete = 0;
    for (int cell = 0; cell < 81; ++cell)
        complete += LookAt(shot, cell).back == Back::Complete;
    Expect(complete == 81, "every cell of the solved grid is RGB(255,255,180) (%d are)", complete);
    Expect(view.NothingSelectedFor(1200), "after the win box no cell is selected");
}

void UndoRedo(GameSession& game)
{
    game.Launch();
    Require(LoadPrepared(game, RowFourGame(), "history.nro"), "the prepared game loads");
    GridView view(game);
    ExpectUndoRedo(game, false, false, "after loading");

    game.ClickCell(40);
    game.Char('9');
    ExpectUndoRedo(game, true, false, "after 9 at cell 40");
    game.ClickCell(41);
    game.Char('1');
    ExpectUndoRedo(game, true, false, "after 1 at cell 41");
    game.Command(kPencil);
    game.ClickCell(42);
    game.Char('2');
    ExpectUndoRedo(game, true, false, "after the mark 2 at cell 42");
    game.Command(kEraser);
    game.ClickCell(40);
    ExpectUndoRedo(game, true, false, "after erasing cell 40");
    game.Command(kPen);
    Expect(WaitForInk(view, 40, false, false) && WaitForInk(view, 41, true, false) && WaitForInk(view, 42, false, true),
           "the board shows 41 filled, a mark at 42 and 40 erased");

    struct Look {
        bool d40, d41, m42;
    };
    const Look states[] = {
        {false, false, false}, {true, false, false}, {true, true, false}, {true, true, true}, {false, true, true}};
    const int changedCell[] = {0, 40, 41, 42, 40};
    for (int step = 4; step >= 1; --step) {
        game.Command(kUndo);
        std::string when = "undo back to state " + std::to_string(step - 1);
        ExpectUndoRedo(game, step - 1 > 0, true, when.c_str());
        const Look& s = states[step - 1];
        Expect(WaitForInk(view, 40, s.d40, false) && WaitForInk(view, 41, s.d41, false) &&
                   WaitForInk(view, 42, false, s.m42),
               "%s: the board matches", when.c_str());
        Expect(view.WaitForSelection(changedCell[step], Back::Pen), "%s: the undone move's cell %d is selected",
               when.c_str(), changedCell[step]);
    }
    for (int step = 1; step <= 4; ++step) {
        game.Command(kRedo);
        std::string when = "redo to state " + std::to_string(step);
        ExpectUndoRedo(game, true, step < 4, when.c_str());
        const Look& s = states[step];
        Expect(WaitForInk(view, 40, s.d40, false) && WaitForInk(view, 41, s.d41, false) &&
                   WaitForInk(view, 42, false, s.m42),
               "%s: the board matches", when.c_str());
    }
    game.Command(kUndo);
    game.Command(kUndo);
    ExpectUndoRedo(game, true, true, "two undos");
    game.ClickCell(43);
    game.Char('3');
    ExpectUndoRedo(game, true, false, "a new move after undoing drops the redo entries");
    game.Command(kRedo);
    ExpectUndoRedo(game, true, false, "Redo with nothing to redo");
    game.Command(kUndo);
    ExpectUndoRedo(game, true, true, "undo of the new move");
    game.Command(kRedo);
    ExpectUndoRedo(game, true, false, "redo of the new move");

    std::vector<uint8_t> bytes;
    GameImage saved;
    if (SaveAndRead(game, "history-saved.nro", bytes) && Expect(saved.Decode(bytes), "the saved file decodes")) {
        bool marks = false;
        for (int d = 0; d < 9; ++d)
            marks = marks || saved.marks[42 * 9 + d];
        Expect(saved.player[40] == 9 && saved.player[41] == 1 && saved.player[43] == 3 && !marks,
               "the saved board holds 9, 1 and 3 in cells 40, 41, 43 and no mark at 42 (%d %d %d)", saved.player[40],
               saved.player[41], saved.player[43]);
    }
}

}  // namespace

void AddPlayScenarios(std::vector<Scenario>& list)
{
    list.push_back({"duplicates", Duplicates});
    list.push_back({"win", Win});
    list.push_back({"undo-redo", UndoRedo});
}
