#include <gtest/gtest.h>

#include <cstring>

#include "tests/print/page_recording.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/printing.h"

namespace {

// What the fake job calls answer, in the order they come (pages past the
// lists succeed), and what they saw.
struct JobScript {
    int startDoc = 1;
    std::vector<int> startPage;
    std::vector<int> endPage;
    std::string calls;
    size_t pagesStarted = 0;
    size_t pagesEnded = 0;
};

JobScript script;

int Answer(const std::vector<int>& answers, size_t& calls)
{
    const size_t call = calls++;
    return call < answers.size() ? answers[call] : 1;
}

int WINAPI FakeStartDoc(HDC, const DOCINFOA*)
{
    script.calls += "StartDoc ";
    return script.startDoc;
}

int WINAPI FakeStartPage(HDC)
{
    script.calls += "StartPage ";
    return Answer(script.startPage, script.pagesStarted);
}

int WINAPI FakeEndPage(HDC)
{
    script.calls += "EndPage ";
    return Answer(script.endPage, script.pagesEnded);
}

int WINAPI FakeEndDoc(HDC)
{
    script.calls += "EndDoc ";
    return 1;
}

int WINAPI FakeAbortDoc(HDC)
{
    script.calls += "AbortDoc ";
    return 1;
}

const PrintJobCalls kFakeJob = {FakeStartDoc, FakeStartPage, FakeEndPage, FakeEndDoc, FakeAbortDoc};

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = JobScript();
        for (int cell = 0; cell < kCellCount; ++cell) {
            Puzzle.values[cell] = static_cast<int16_t>(cell % 9 + 1);
            Puzzle.mask[cell] = kGiven;
        }
        std::memset(&document, 0, sizeof document);
        document.cbSize = sizeof document;
        document.lpszDocName = "Impression NONARO";
    }

    void TearDown() override
    {
        std::memset(Puzzle.values, 0, sizeof Puzzle.values);
        std::memset(Puzzle.mask, 0, sizeof Puzzle.mask);
    }

    // Runs the job on a metafile and returns what was drawn on it.
    std::vector<Drawn> Print(PrintCopies copies = {1, false})
    {
        return RecordDrawing([&](HDC dc) {
            dpi = GetDeviceCaps(dc, LOGPIXELSX);
            PrintDocument(dc, &document, kFakeJob, copies);
        });
    }

    static std::vector<std::string> Titles(const std::vector<Drawn>& records)
    {
        std::vector<std::string> titles;
        for (const Drawn& record : records)
            if (record.kind == Drawn::kText && record.text.size() > 1)
                titles.push_back(record.text);
        return titles;
    }

    static int Drawings(const std::vector<Drawn>& records)
    {
        int count = 0;
        for (const Drawn& record : records)
            count += record.kind == Drawn::kRectangle || record.kind == Drawn::kText || record.kind == Drawn::kLineTo;
        return count;
    }

    DOCINFOA document;
    int dpi = 0;
};

TEST_F(PrintJobTest, BothPagesThenTheEndOfTheDocument)
{
    const std::vector<Drawn> records = Print();
    EXPECT_EQ(script.calls, "StartDoc StartPage EndPage StartPage EndPage EndDoc ");
    EXPECT_EQ(Titles(records), (std::vector<std::string>{"NONARO par Torvel1", "Solution NONARO"}));

    // Text mode and transparent text before anything is drawn.
    bool textMode = false, transparent = false;
    for (const Drawn& record : records) {
        if (record.kind == Drawn::kMapMode)
            textMode = record.mode == MM_TEXT;
        if (record.kind == Drawn::kBkMode)
            transparent = record.mode == TRANSPARENT;
        if (record.kind == Drawn::kText) {
            EXPECT_TRUE(textMode && transparent);
            break;
        }
    }

    // Laid out for the resolution the device reports.
    ASSERT_GT(dpi, 0);
    for (const Drawn& record : records)
        if (record.kind == Drawn::kRectangle) {
            EXPECT_EQ(record.box.left, static_cast<int>(50 * (dpi / 25.4f)));
            break;
        }
}

TEST_F(PrintJobTest, AJobThatCannotGoThroughIsNeverLeftOpen)
{
    struct Case {
        const char* what;
        int startDoc, firstStart, firstEnd, secondStart, secondEnd;
        const char* calls;
        int titles;
    };
    const Case cases[] = {
        {"no document", 0, 1, 1, 1, 1, "StartDoc ", 0},
        {"document refused with an error", SP_ERROR, 1, 1, 1, 1, "StartDoc ", 0},
        {"first page refused", 1, 0, 1, 1, 1, "StartDoc StartPage AbortDoc ", 0},
        {"first page refused with an error", 1, SP_ERROR, 1, 1, 1, "StartDoc StartPage AbortDoc ", 0},
        {"second page not ended", 1, 1, 1, 1, 0, "StartDoc StartPage EndPage StartPage EndPage AbortDoc ", 2},
        {"second page not started", 1, 1, 1, SP_ERROR, SP_ERROR,
         "StartDoc StartPage EndPage StartPage EndPage AbortDoc ", 2},
        // Only the second page's end decides how the job ends.
        {"first page not ended", 1, 1, 0, 1, 1, "StartDoc StartPage EndPage StartPage EndPage EndDoc ", 2},
    };
    for (const Case& c : cases) {
        script = JobScript();
        script.startDoc = c.startDoc;
        script.startPage = {c.firstStart, c.secondStart};
        script.endPage = {c.firstEnd, c.secondEnd};
        const std::vector<Drawn> records = Print();
        EXPECT_EQ(script.calls, c.calls) << c.what;
        EXPECT_EQ(static_cast<int>(Titles(records).size()), c.titles) << c.what;
        if (c.titles == 0) {
            EXPECT_EQ(Drawings(records), 0) << c.what << ": nothing drawn";
        }
    }
}

TEST_F(PrintJobTest, EveryCopyInOneJobInTheOrderAsked)
{
    const std::string grid = "NONARO par Torvel1", solution = "Solution NONARO";
    const std::string sheet = "StartPage EndPage ";
    struct Case {
        const char* what;
        PrintCopies copies;
        std::vector<int> startPage, endPage;
        std::string calls;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"none asked is one", {0, true}, {}, {}, "StartDoc " + sheet + sheet + "EndDoc ", {grid, solution}},
        {"one", {1, false}, {}, {}, "StartDoc " + sheet + sheet + "EndDoc ", {grid, solution}},
        {"three collated", {3, true}, {}, {}, "StartDoc " + sheet + sheet + sheet + sheet + sheet + sheet + "EndDoc ",
         {grid, solution, grid, solution, grid, solution}},
        {"three uncollated", {3, false}, {}, {},
         "StartDoc " + sheet + sheet + sheet + sheet + sheet + sheet + "EndDoc ",
         {grid, grid, grid, solution, solution, solution}},
        {"first page refused", {3, true}, {SP_ERROR}, {}, "StartDoc StartPage AbortDoc ", {}},
        // A page that fails alone is not looked at, as with one copy.
        {"a page in the middle not ended", {2, false}, {}, {1, SP_ERROR},
         "StartDoc " + sheet + sheet + sheet + sheet + "EndDoc ", {grid, grid, solution, solution}},
        {"the job dropped in the middle", {3, true}, {1, 1, SP_ERROR}, {1, 1, SP_ERROR},
         "StartDoc " + sheet + sheet + sheet + "AbortDoc ", {grid, solution, grid}},
        {"the last page not ended", {2, true}, {}, {1, 1, 1, 0},
         "StartDoc " + sheet + sheet + sheet + sheet + "AbortDoc ", {grid, solution, grid, solution}},
    };
    for (const Case& c : cases) {
        script = JobScript();
        script.startPage = c.startPage;
        script.endPage = c.endPage;
        const std::vector<Drawn> records = Print(c.copies);
        EXPECT_EQ(script.calls, c.calls) << c.what;
        EXPECT_EQ(Titles(records), c.titles) << c.what;
    }
}

TEST(PrintCopiesTest, TheDialogSaysWhoMakesTheCopies)
{
    struct Case {
        const char* what;
        WORD nCopies;
        DWORD flags;
        DWORD fields;
        short dmCopies;
        bool withSettings;
        int count;
        bool collated;
    };
    const Case cases[] = {
        {"no settings", 3, PD_COLLATE, 0, 0, false, 3, true},
        {"one copy", 1, 0, DM_COPIES, 1, true, 1, false},
        {"none", 0, 0, DM_COPIES, 1, true, 1, false},
        {"the program's copies, uncollated", 3, 0, DM_COPIES, 1, true, 3, false},
        {"the program's copies, collated", 3, PD_COLLATE, DM_COPIES | DM_COLLATE, 1, true, 3, true},
        {"a count the printer was not given", 2, PD_COLLATE, 0, 5, true, 2, true},
        {"the printer makes them", 1, 0, DM_COPIES, 3, true, 1, false},
        {"the printer makes them, never twice", 3, PD_COLLATE, DM_COPIES | DM_COLLATE, 3, true, 1, false},
    };
    for (const Case& c : cases) {
        PRINTDLGA dialog;
        std::memset(&dialog, 0, sizeof dialog);
        dialog.nCopies = c.nCopies;
        dialog.Flags = PD_RETURNDC | c.flags;
        DEVMODEA settings;
        std::memset(&settings, 0, sizeof settings);
        settings.dmSize = sizeof settings;
        settings.dmFields = c.fields;
        settings.dmCopies = c.dmCopies;
        const PrintCopies copies = CopiesToPrint(dialog, c.withSettings ? &settings : nullptr);
        EXPECT_EQ(copies.count, c.count) << c.what;
        EXPECT_EQ(copies.collated, c.collated) << c.what;
    }
}

}  // namespace
