#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "engine/player_arrays.h"
#include "play/grid_geometry.h"
#include "play/file_dialogs.h"
#include "play/game_file.h"
#include "tests/play/board_harness.h"
#include "tests/play/test_layouts.h"

namespace {

typedef headless::Event Event;

RECT CellArea(int cell)
{
    RECT r;
    GridGeometry().CellRect(cell, &r);
    return r;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The board's calls since the last ClearEvents, written compactly:
// "cell 0" an invalidated cell, "row 7" a row, "all" the whole window,
// "paint", "box <caption>", "focus grid", "focus none".
std::vector<std::string> Calls(const BoardHarness& h)
{
    std::vector<std::string> calls;
    for (const Event& e : headless::Events()) {
        switch (e.kind) {
        case Event::Invalidate: {
            std::string name = e.whole ? "all" : "?";
            for (int i = 0; i < kCellCount && name == "?"; ++i)
                if (Same(e.rect, CellArea(i)))
                    name = "cell " + std::to_string(i);
            RECT r;
            for (int i = 0; i < 9 && name == "?"; ++i) {
                if (GridGeometry().RowRect(i, &r) && Same(e.rect, r))
                    name = "row " + std::to_string(i);
                else if (GridGeometry().ColumnRect(i, &r) && Same(e.rect, r))
                    name = "column " + std::to_string(i);
                else if (GridGeometry().BoxRect(i, &r) && Same(e.rect, r))
                    name = "box " + std::to_string(i);
            }
            calls.push_back(name);
            break;
        }
        case Event::Paint:
            calls.push_back("paint");
            break;
        case Event::MessageBox:
            calls.push_back("box " + e.caption);
            break;
        case Event::Focus:
            calls.push_back(e.window == h.board.window ? "focus grid" : "focus none");
            break;
        default:
            break;
        }
    }
    return calls;
}

typedef std::vector<std::string> Strings;

Strings Sorted(Strings strings)
{
    std::sort(strings.begin(), strings.end());
    return strings;
}

TEST(DrawingObjects, BoardMakesItsBrushesAndFontAndReleasesEachOnce)
{
    const int live = headless::LiveObjects();
    const int bad = headless::BadReleases();
    {
        int16_t grid[kCellCount] = {};
        uint8_t mask[kCellCount] = {};
        uint8_t marks[kMarkCount] = {};
        GridBoard board(grid, mask, marks);
        EXPECT_EQ(live + 4, headless::LiveObjects());
        EXPECT_EQ(0x00B4FFFFu, headless::BrushColor(board.completeBrush));
        EXPECT_EQ(0x008FD2B6u, headless::BrushColor(board.conflictBrush));
        EXPECT_EQ(0x00DCFAE1u, headless::BrushColor(board.cellBrush));
        LOGFONTA font = headless::FontOf(board.digitFont);
        EXPECT_EQ(32, font.lfHeight);
        EXPECT_EQ(700, font.lfWeight);
        EXPECT_EQ(7, font.lfOutPrecision);
        EXPECT_STREQ("Times New Roman", font.lfFaceName);
        EXPECT_EQ(0, font.lfWidth + font.lfItalic + font.lfCharSet + font.lfQuality);
        // A pattern brush the grid window did not release goes with the board.
        board.penSelectionBrush = CreateSolidBrush(0);
    }
    EXPECT_EQ(live, headless::LiveObjects());
    EXPECT_EQ(bad, headless::BadReleases());
}

TEST(FileDialogs, AskForOneNroFileWithTheirOwnTitleAndFlags)
{
    headless::Reset();
    HWND owner = headless::MakeWindow(nullptr, 0);
    WCHAR path[MAX_PATH] = L"ancien.nro";

    headless::AnswerFileDialog(true, "/tmp/partie.nro");
    EXPECT_EQ(1, ChooseOpenFile(owner, path));
    EXPECT_STREQ(L"/tmp/partie.nro", path);
    headless::AnswerFileDialog(false);
    EXPECT_EQ(0, ChooseSaveFile(owner, path));
    EXPECT_STREQ(L"", path);
    headless::AnswerFileDialog(true, "/tmp/sous.nro");
    EXPECT_EQ(1, ChooseSaveFile(owner, path));
    EXPECT_STREQ(L"/tmp/sous.nro", path);

    const std::vector<headless::FileDialogRecord>& dialogs = headless::FileDialogs();
    ASSERT_EQ(3u, dialogs.size());
    EXPECT_TRUE(dialogs[0].open);
    EXPECT_FALSE(dialogs[1].open);
    for (const headless::FileDialogRecord& d : dialogs) {
        EXPECT_EQ(OPENFILENAME_SIZE_VERSION_400W, d.structSize);
        EXPECT_EQ(owner, d.owner);
        EXPECT_EQ(std::string("Fichier Nonaro (*.nro)\0*.nro\0\0", 30), d.filter);
        EXPECT_EQ("", d.initialFile);  // the dialog opens without a name
        EXPECT_EQ(260u, d.maxFile);
        EXPECT_EQ("nro", d.defaultExtension);
        EXPECT_FALSE(d.initialDirectory);
        EXPECT_FALSE(d.customFilter);
    }
    EXPECT_EQ("Ouvrir un fichier Nonaro...", dialogs[0].title);
    EXPECT_EQ(0x81004u, dialogs[0].flags);
    EXPECT_EQ("Enregistrer sous...", dialogs[1].title);
    EXPECT_EQ(0x80806u, dialogs[1].flags);
    headless::Reset();
}

TEST(SaveOnAFullDisk, FailsAndLeavesThePreviousFile)
{
    char folder[] = "/tmp/nonaro-full-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    const std::string path = std::string(folder) + "/partie.nro";
    const std::wstring widePath(path.begin(), path.end());
    PuzzleGrid puzzle;
    PlayerGrid[0] = 4;
    for (int cell = 0; cell < kCellCount; ++cell)
        puzzle.values[cell] = 1;
    ASSERT_EQ(1, SaveGameFile(&puzzle, widePath.c_str()));
    std::ifstream before(path, std::ios::binary);
    const std::string previous((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());

    PlayerGrid[0] = 7;
    for (long room : {0L, 100L, 1141L}) {
        headless::FailWritesAfter(room);
        EXPECT_EQ(0, SaveGameFile(&puzzle, widePath.c_str())) << room;
        headless::FailWritesAfter(-1);
        std::ifstream after(path, std::ios::binary);
        EXPECT_EQ(previous, std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()));
    }
    EXPECT_EQ(0, headless::OpenFiles());
    // Only the saved game is left in the folder.
    EXPECT_EQ(0, unlink(path.c_str()));
    EXPECT_EQ(0, rmdir(folder));
    PlayerGrid[0] = 0;
}

// Saving over a file: ReplaceFileW keeps what the old file carried (here its
// permissions). Refused at its first rename, or at its second once the old
// file is moved aside, a plain move saves the game; where that fails too, the
// old file is back in place. The folder never keeps anything else.
TEST(SaveOverAFile, KeepsTheOldFilesSettingsOrFallsBackWithoutLosingIt)
{
    struct Case {
        const char* what;
        int refusedReplaceStep;  // 0: none
        bool moveRefused;
    } const cases[] = {
        {"replaced", 0, false},
        {"replace refused", 1, false},
        {"replace refused with the old file aside", 2, false},
        {"replace and move refused", 1, true},
        {"replace refused with the old file aside and move refused", 2, true},
    };
    char folder[] = "/tmp/nonaro-replace-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    const std::string path = std::string(folder) + "/partie.nro";
    const std::wstring widePath(path.begin(), path.end());
    PuzzleGrid puzzle;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayerGrid[0] = 1;
        ASSERT_EQ(1, SaveGameFile(&puzzle, widePath.c_str()));
        ASSERT_EQ(0, chmod(path.c_str(), 0640));
        int replaceSteps = 0, moves = 0;
        headless::OnFileMove([&](const std::string& call, const std::string&, const std::string&) {
            if (call == "ReplaceFileW")
                return ++replaceSteps != c.refusedReplaceStep;
            return !(c.moveRefused && moves++ == 0);
        });
        PlayerGrid[0] = 2;
        EXPECT_EQ(c.moveRefused ? 0 : 1, SaveGameFile(&puzzle, widePath.c_str()));
        headless::OnFileMove(nullptr);
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(bytes.size() == kGameFileSize && bytes[8] == (c.moveRefused ? 1 : 2));
        struct stat status;
        EXPECT_TRUE(stat(path.c_str(), &status) == 0 && (c.refusedReplaceStep || (status.st_mode & 0777) == 0640));
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
    }
    EXPECT_EQ(0, unlink(path.c_str()));
    EXPECT_EQ(0, rmdir(folder));
    PlayerGrid[0] = 0;
}

// One action on a board, with what the platform is told of it; prepare runs
// before anything is recorded.
struct Scene {
    const char* name;
    std::function<void(BoardHarness&)> prepare;
    std::function<void(BoardHarness&)> act;
    Strings expected;
    // Undo and Redo repaint in no particular order.
    bool anyOrder = false;
    int32_t selectedAfter = -2;  // -2: not checked
};

// Cell 63 takes 2, cell 4 takes 7, then a 5 at cell 63 is refused, which
// empties it without an entry; the selection ends on cell 0.
void TwoEntriesAndARefusal(BoardHarness& h)
{
    h.Click(63);
    h.Type('2');
    h.Click(4);
    h.Type('7');
    h.Click(63);
    h.Type('5');
    h.Click(0);
}

TEST(Repaints, EachActionRepaintsWhatItChanges)
{
    // Cells 0, 4, 8 and 63 to fill: 9 clashes with cell 6 in row 0.
    const Scene scenes[] = {
        {"pen clash is painted before and after the box",
         [](BoardHarness& h) { h.Click(0); },
         [](BoardHarness& h) { h.Type('9'); },
         {"cell 0", "cell 6", "cell 0", "paint", "box Doublons", "focus none",
          "cell 0",  // the box took the focus and the selection with it
          "cell 6", "cell 0", "paint", "focus grid"}},
        {"pencil clash leaves painting to the paint messages",
         [](BoardHarness& h) {
             h.board.SetTool(kPencilTool);
             h.Click(0);
         },
         [](BoardHarness& h) { h.Type('9'); },
         {"cell 0", "cell 6", "cell 0", "box Doublons", "focus none", "cell 0", "cell 6", "cell 0", "focus grid",
          "cell 0"}},
        {"eraser paints at once",
         [](BoardHarness& h) {
             h.board.SetTool(kEraserTool);
             h.Click(4);
         },
         [](BoardHarness& h) { h.board.HandleEraserClick(h.board.window, 4 * 51 + 2, 2); },
         {"cell 4", "paint"}},
        // Cell 63 completes row 7 and box 6, column 0 stays open at cell 0;
        // cell 8 then completes column 8 and box 2, row 0 staying open.
        {"completing a row repaints that row only",
         [](BoardHarness& h) { h.Click(63); },
         [](BoardHarness& h) { h.Type('2'); },
         {"cell 63", "row 7", "box 6"}},
        {"completing a column repaints that column only",
         [](BoardHarness& h) {
             h.Click(63);
             h.Type('2');
             h.Click(4);
             h.Type('7');
             h.Click(8);
         },
         [](BoardHarness& h) { h.Type('2'); },
         {"cell 8", "column 8", "box 2"}},
        // Back to 63 holding 2, 4 empty.
        {"Undo repaints every changed cell and group",
         TwoEntriesAndARefusal,
         [](BoardHarness& h) { h.board.Undo(); },
         {"cell 4", "cell 63", "cell 0", "column 4", "box 1", "row 7", "box 6"},
         true,
         4},
        {"Redo repaints every changed cell and group",
         [](BoardHarness& h) {
             TwoEntriesAndARefusal(h);
             h.board.Undo();
         },
         [](BoardHarness& h) { h.board.Redo(); },
         {"cell 4", "cell 4", "column 4", "box 1"},
         true},
    };
    for (const Scene& s : scenes) {
        SCOPED_TRACE(s.name);
        BoardHarness h;
        h.StartGame(Hiding({0, 4, 8, 63}).c_str());
        s.prepare(h);
        headless::ClearEvents();
        s.act(h);
        if (s.anyOrder) {
            EXPECT_EQ(Sorted(s.expected), Sorted(Calls(h)));
        } else {
            EXPECT_EQ(s.expected, Calls(h));
        }
        if (s.selectedAfter != -2) {
            EXPECT_EQ(s.selectedAfter, h.board.selectedCell);
        }
    }
}

// What a screen reader is told of the board's changes, with what it would
// read at that moment: "0: 5" cell 0 holds 5, "0: marks 59", "0: empty",
// "reorder" for the whole grid.
std::string Contents(const BoardHarness& h, int cell)
{
    if (h.grid[cell] != 0)
        return std::to_string(h.grid[cell]);
    std::string marks;
    for (int digit = 1; digit <= 9; ++digit)
        if (h.marks[cell * 9 + digit - 1])
            marks += static_cast<char>('0' + digit);
    return marks.empty() ? "empty" : "marks " + marks;
}

void Enter(BoardHarness& h, int32_t tool, int cell, char digit)
{
    h.board.SetTool(tool);
    h.Click(cell);
    h.Type(digit);
}
void Pen(BoardHarness& h, int cell, char digit) { Enter(h, kPenTool, cell, digit); }
void Pencil(BoardHarness& h, int cell, char digit) { Enter(h, kPencilTool, cell, digit); }

TEST(ScreenReaderEvents, EveryChangeOfACellIsAnnouncedAfterItIsMade)
{
    // Cells 0, 1, 4, 8, 63 and 72 to fill: 3 and 5 are free at cell 0, and 9
    // clashes with cell 6 in row 0.
    const Scene scenes[] = {
        {"pen digit", nullptr, [](BoardHarness& h) { Pen(h, 0, '5'); }, {"0: 5"}},
        {"the digit the cell holds", [](BoardHarness& h) { Pen(h, 0, '5'); }, [](BoardHarness& h) { h.Type('5'); }, {}},
        {"refused digit over a digit",
         [](BoardHarness& h) { Pen(h, 0, '5'); },
         [](BoardHarness& h) { h.Type('9'); },
         {"0: 9", "0: empty"}},
        {"pencil mark",
         [](BoardHarness& h) { Pencil(h, 0, '3'); },
         [](BoardHarness& h) { h.Type('5'); },
         {"0: marks 35"}},
        {"refused mark", nullptr, [](BoardHarness& h) { Pencil(h, 0, '9'); }, {"0: marks 9", "0: empty"}},
        {"Delete shows the marks again",
         [](BoardHarness& h) {
             Pencil(h, 0, '3');
             Pen(h, 0, '5');
         },
         [](BoardHarness& h) { h.PressDelete(); },
         {"0: marks 3"}},
        {"Delete with the pencil",
         [](BoardHarness& h) {
             Pencil(h, 0, '3');
             h.Type('5');
         },
         [](BoardHarness& h) { h.PressDelete(); },
         {"0: empty"}},
        {"eraser on a digit",
         [](BoardHarness& h) {
             Pen(h, 0, '5');
             h.board.SetTool(kEraserTool);
         },
         [](BoardHarness& h) { h.EraseMark(0, 0); },
         {"0: empty"}},
        {"eraser on a mark",
         [](BoardHarness& h) {
             Pencil(h, 0, '5');
             h.board.SetTool(kEraserTool);
         },
         [](BoardHarness& h) { h.EraseMark(0, 4); },
         {"0: empty"}},
        {"eraser where no mark is",
         [](BoardHarness& h) {
             Pencil(h, 0, '5');
             h.board.SetTool(kEraserTool);
         },
         [](BoardHarness& h) { h.EraseMark(0, 0); },
         {}},
        {"Undo then Redo",
         [](BoardHarness& h) { Pen(h, 0, '5'); },
         [](BoardHarness& h) {
             h.board.Undo();
             h.board.Redo();
         },
         {"0: empty", "0: 5"}},
        {"Undo puts back a cell a refusal emptied",
         [](BoardHarness& h) {
             Pen(h, 63, '2');
             Pen(h, 4, '7');
             Pen(h, 63, '5');
         },
         [](BoardHarness& h) { h.board.Undo(); },
         {"4: empty", "63: 2"}},
        {"new game",
         [](BoardHarness& h) { Pen(h, 0, '5'); },
         [](BoardHarness& h) {
             const std::string layout = Hiding({1, 2});
             h.StartGame(layout.c_str());
         },
         {"reorder"}},
    };
    for (const Scene& s : scenes) {
        SCOPED_TRACE(s.name);
        BoardHarness h;
        h.StartGame(Hiding({0, 1, 4, 8, 63, 72}).c_str());
        if (s.prepare)
            s.prepare(h);
        Strings heard;
        headless::OnWinEvent([&](const Event& e) {
            bool ours = e.window == h.board.window && e.object == OBJID_CLIENT;
            if (ours && e.id == static_cast<int>(EVENT_OBJECT_VALUECHANGE) && e.value >= 1 && e.value <= 81)
                heard.push_back(std::to_string(e.value - 1) + ": " + Contents(h, static_cast<int>(e.value - 1)));
            else if (ours && e.id == static_cast<int>(EVENT_OBJECT_REORDER) && e.value == CHILDID_SELF)
                heard.push_back("reorder");
            else
                heard.push_back("unexpected event " + std::to_string(e.id) + " child " + std::to_string(e.value));
        });
        s.act(h);
        EXPECT_EQ(s.expected, heard);
    }
}

}  // namespace
