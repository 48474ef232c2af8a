#include <gtest/gtest.h>

#include <cstring>

#include "tests/print/page_recording.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/printing.h"

namespace {

// What the fake job calls answer, in the order they come (1 past the end of
// the lists), and what they saw.
struct JobScript {
    int startDoc = 1;
    std::vector<int> startPage;
    std::vector<int> endPage;
    std::string calls;
    size_t pagesStarted = 0;
    size_t pagesEnded = 0;
};

JobScript script;

int WINAPI FakeStartDoc(HDC, const DOCINFOA*)
{
    script.calls += "StartDoc ";
    return script.startDoc;
}

int WINAPI FakeStartPage(HDC)
{
    script.calls += "StartPage ";
    const size_t page = script.pagesStarted++;
    return page < script.startPage.size() ? script.startPage[page] : 1;
}

int WINAPI FakeEndPage(HDC)
{
    script.calls += "EndPage ";
    const size_t page = script.pagesEnded++;
    return page < script.endPage.size() ? script.endPage[page] : 1;
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

TEST_F(PrintJobTest, TheCopiesAskedForInOneJob)
{
    // The dialog's copies and collation, the copies its printer settings make
    // (0: no settings), what the page calls answer; then the pages printed by
    // their titles' first letters (N the grid, S the solution) and the job's end.
    const struct {
        WORD asked;
        DWORD collate;
        short printer;
        std::vector<int> startPage, endPage;
        std::string pages, end;
    } cases[] = {
        {0, PD_COLLATE, 0, {}, {}, "NS", "EndDoc "},
        {3, PD_COLLATE, 1, {}, {}, "NSNSNS", "EndDoc "},
        {3, 0, 0, {}, {}, "NNNSSS", "EndDoc "},
        {3, PD_COLLATE, 3, {}, {}, "NS", "EndDoc "},      // the device context makes them already
        {2, 0, 1, {}, {1, SP_ERROR}, "NNSS", "EndDoc "},  // one page failing alone, as with one copy
        {3, PD_COLLATE, 1, {1, 1, SP_ERROR}, {1, 1, SP_ERROR}, "NSN", "AbortDoc "},  // the job dropped by the spooler
        {2, PD_COLLATE, 1, {}, {1, 1, 1, 0}, "NSNS", "AbortDoc "},
    };
    for (const auto& c : cases) {
        script = JobScript();
        script.startPage = c.startPage;
        script.endPage = c.endPage;
        PRINTDLGA dialog = {};
        dialog.nCopies = c.asked;
        dialog.Flags = PD_RETURNDC | c.collate;
        DEVMODEA settings = {};
        settings.dmSize = sizeof settings;
        settings.dmFields = DM_COPIES | DM_COLLATE;
        settings.dmCopies = c.printer;
        std::string pages, calls = "StartDoc ";
        for (const std::string& title : Titles(Print(CopiesToPrint(dialog, c.printer ? &settings : nullptr)))) {
            pages += title[0];
            calls += "StartPage EndPage ";
        }
        EXPECT_EQ(pages, c.pages) << c.asked << " copies, the printer making " << c.printer;
        EXPECT_EQ(script.calls, calls + c.end) << c.pages;
    }
}

}  // namespace
