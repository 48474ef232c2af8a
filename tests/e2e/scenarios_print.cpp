// Printing on a real print queue: the driver plays a game, refuses the print
// dialog once, then confirms it for two collated copies. What reaches the
// printer is checked outside Wine by run_print_scenario.sh, against the pages
// this scenario writes down as expected.
//   options: --printer <queue name> (the printer the dialog must offer)
#include <windows.h>
#include <dlgs.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/driver_log.h"
#include "tests/e2e/scenario_support.h"
#include "tests/e2e/soak_model.h"

namespace {

// The cells whose print is worth a look: one left empty with pencil marks,
// one with a wrong digit from the file, one the driver types right, one
// empty without marks.
const int kMarkedCell = 10;
const int kWrongCell = 20;
const int kTypedCell = 30;
const int kEmptyCell = 44;

std::string PrinterOption()
{
    const std::vector<std::string>& args = ScenarioArgs();
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--printer")
            return args[i + 1];
    return "";
}

BOOL CALLBACK CollectCombo(HWND child, LPARAM param)
{
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

// The print dialog: a dialog of the game's that is neither a message box nor
// a file dialog, and offers printers in a list.
HWND WaitForPrintDialog(GameSession& game, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND dialog : game.TopWindows("#32770")) {
                std::vector<HWND> combos;
                EnumChildWindows(dialog, CollectCombo, reinterpret_cast<LPARAM>(&combos));
                if (!GameSession::IsMessageBox(dialog) && !combos.empty()) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 100);
    return found;
}

std::string SelectedText(HWND combo)
{
    DWORD_PTR index = 0, length = 0;
    if (!SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &index) ||
        index == static_cast<DWORD_PTR>(CB_ERR))
        return "";
    // The list is a Unicode window, whose items cross over to this process
    // as they are stored.
    SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_NORMAL, 5000, &length);
    if (length == static_cast<DWORD_PTR>(CB_ERR) || length >= 256)
        return "";
    WCHAR wide[256] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 5000, &copied);
    char text[512] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// The printer chosen in the dialog's list when it opens.
bool OffersPrinter(HWND dialog, const std::string& printer)
{
    std::vector<std::string> shown;
    bool offered = WaitUntil(
        [&] {
            std::vector<HWND> combos;
            EnumChildWindows(dialog, CollectCombo, reinterpret_cast<LPARAM>(&combos));
            shown.clear();
            for (HWND combo : combos)
                shown.push_back(SelectedText(combo));
            for (const std::string& text : shown)
                if (text == printer)
                    return true;
            return false;
        },
        10000, 200);
    for (const std::string& text : shown)
        Note("the print dialog's list shows %s", Quoted(text).c_str());
    return offered;
}

bool Answer(GameSession& game, HWND dialog, int button, DWORD timeoutMs)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    bool gone = WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs, 100);
    game.Settle(timeoutMs);
    return gone;
}

const int kCopies = 2;

// The dialog's own Copies field and Collate box, filled as a player would.
bool AskForCopies(HWND dialog, int copies)
{
    char text[16];
    wsprintfA(text, "%d", copies);
    DWORD_PTR done = 0;
    return SendMessageTimeoutA(GetDlgItem(dialog, chx2), BM_SETCHECK, BST_CHECKED, 0, SMTO_NORMAL, 5000, &done) &&
           SendMessageTimeoutA(GetDlgItem(dialog, edt3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                               5000, &done) &&
           done;
}

// One line per printed page, in the order of print: its title, a colon,
// then each row's printed digits in order (an empty box prints nothing),
// rows separated by blanks. Collated copies: grid, solution, grid, solution...
bool WriteExpectedPages(const std::string& path, const GameImage& image, int copies)
{
    static const char* const kTitles[2] = {"NONARO par Torvel1", "Solution NONARO"};
    FILE* out = fopen(path.c_str(), "wb");
    if (!out)
        return false;
    for (int sheet = 0; sheet < 2 * copies; ++sheet) {
        const int page = sheet % 2;
        fprintf(out, "%s:", kTitles[page]);
        for (int row = 0; row < 9; ++row) {
            if (row)
                fputc(' ', out);
            for (int column = 0; column < 9; ++column) {
                int cell = row * 9 + column;
                int value = page == 0 && image.mask[cell] ? image.player[cell] : image.solution[cell];
                if (value)
                    fprintf(out, "%d", value);
            }
        }
        fputc('\n', out);
    }
    return fclose(out) == 0;
}

void PrintScenario(GameSession& game)
{
    const std::string printer = PrinterOption();
    Require(!printer.empty(), "the scenario is told the printer (--printer)");
    game.Launch();

    GameImage image = GameImage::Solved().Hide({kMarkedCell, kWrongCell, kTypedCell, kEmptyCell});
    image.Mark(kMarkedCell, 2).Mark(kMarkedCell, 7);
    // A wrong digit, yet one the game could have stored: the cells that hold it
    // in its row, column and box are left to fill.
    const int wrong = image.solution[kWrongCell] % 9 + 1;
    BoxKind kind;
    for (int clash; (clash = FindClash(image.player, kWrongCell, wrong, &kind)) >= 0;)
        image.Hide({clash});
    image.Fill(kWrongCell, wrong);
    Require(LoadPrepared(game, image, "print.nro"), "the prepared game loads");

    GridView view(game);
    game.ClickCell(kTypedCell);
    game.Char(static_cast<char>('0' + image.solution[kTypedCell]));
    ExpectNoBoxFor(game, 1200, "the right digit typed");
    Expect(WaitForInk(view, kTypedCell, true, false), "the typed digit shows in cell %d", kTypedCell);
    image.player[kTypedCell] = image.solution[kTypedCell];
    Require(WriteExpectedPages(game.WorkPath("expected-pages.txt"), image, kCopies),
            "the driver writes the expected pages");

    // Cancelled: no job, nothing said.
    game.PostCommand(kPrint);
    HWND dialog = WaitForPrintDialog(game, 60000);
    Require(dialog != nullptr, "\"Imprimer\" shows the print dialog");
    char title[128] = "";
    GetWindowTextA(dialog, title, sizeof title);
    Note("print dialog %s", Quoted(title).c_str());
    Expect(GetWindow(dialog, GW_OWNER) == game.Main(), "the print dialog belongs to the main window");
    Expect(!IsWindowEnabled(game.Main()), "the main window waits while the dialog is up");
    Expect(OffersPrinter(dialog, printer), "the dialog starts from the default printer %s", Quoted(printer).c_str());
    Expect(Answer(game, dialog, IDCANCEL, 20000), "the print dialog closes on Cancel");
    ExpectNoBoxFor(game, 1500, "after the cancelled print");

    // Confirmed: the two pages go to the queue; the game says nothing.
    game.PostCommand(kPrint);
    dialog = WaitForPrintDialog(game, 60000);
    Require(dialog != nullptr, "\"Imprimer\" shows the print dialog again");
    Expect(AskForCopies(dialog, kCopies), "the dialog takes %d collated copies", kCopies);
    Expect(Answer(game, dialog, IDOK, 120000), "the print dialog closes on OK");
    Expect(game.Answers(60000), "the game answers once the document is sent");
    ExpectNoBoxFor(game, 1500, "after printing");
    Expect(IsWindowEnabled(game.Main()), "the main window takes input again");
    ExpectGameCommandsEnabled(game, "after printing");

    // Printing reads the game and changes nothing in it.
    std::vector<uint8_t> bytes;
    GameImage after;
    if (SaveAndRead(game, "after-print.nro", bytes) && Expect(after.Decode(bytes), "the saved game reads back")) {
        std::vector<uint8_t> expected = image.Encode();
        std::string difference = FirstDifference(bytes, expected);
        Expect(difference.empty(), "the game after printing is the game before (%s)", difference.c_str());
    }
    Note("sent to %s; the pages are checked outside Wine", printer.c_str());
}

}  // namespace

void AddPrintScenarios(std::vector<Scenario>& list) { list.push_back({"print", PrintScenario}); }
