#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "play/grid_board.h"
#include "tests/ui/window_support.h"
#include "ui/shell/app_objects.h"
#include "ui/shell/toolbar.h"

namespace {

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(NULL);
        InitCommonControls();
        parent = CreateTestParent(474, 500);
        CreateToolbar(parent, kBaseDpi);
        toolbar = GetDlgItem(parent, kToolbarId);
    }
    void TearDown() override { DestroyWindow(parent); }

    LRESULT Ask(UINT message, WPARAM id) { return SendMessageA(toolbar, message, id, 0); }

    HWND parent = NULL;
    HWND toolbar = NULL;
};

TEST_F(ToolbarTest, HasSixteenEntriesInTheirStartingStates)
{
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar, ToolbarWindow);
    EXPECT_EQ(Ask(TB_BUTTONCOUNT, 0), 16);
    for (WPARAM id : {1000, 1002})
        EXPECT_TRUE(Ask(TB_ISBUTTONENABLED, id)) << id;
    for (WPARAM id : {1003, 1001, 1004, 1010, 1011, 1030, 1031, 1032, 2000})
        EXPECT_FALSE(Ask(TB_ISBUTTONENABLED, id)) << id;
    EXPECT_TRUE(Ask(TB_ISBUTTONCHECKED, 1030));
    EXPECT_FALSE(Ask(TB_ISBUTTONCHECKED, 1031));
    EXPECT_FALSE(Ask(TB_ISBUTTONCHECKED, 1032));

    const int expected[16] = {0, 1000, 1002, 1003, 0, 1001, 1004, 0, 1010, 1011, 0, 1030, 1031, 1032, 0, 2000};
    for (int index = 0; index < 16; ++index) {
        TBBUTTON button = {};
        SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, expected[index]) << index;
    }
}

TEST_F(ToolbarTest, ClockLabelLiesOverTheWidenedPlaceholder)
{
    RECT slot = {};
    SendMessageA(toolbar, TB_GETITEMRECT, Ask(TB_COMMANDTOINDEX, kClockLabelId), reinterpret_cast<LPARAM>(&slot));
    EXPECT_EQ(slot.right - slot.left, 100);

    HWND label = GetDlgItem(toolbar, kClockLabelId);
    ASSERT_NE(label, nullptr);
    char text[32] = "";
    GetWindowTextA(label, text, sizeof(text));
    EXPECT_STREQ(text, kClockRestText);
    RECT area;
    GetWindowRect(label, &area);
    MapWindowPoints(NULL, toolbar, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.left, slot.left + 20);
    EXPECT_EQ(area.top, slot.top + 2);
    EXPECT_EQ(area.right - area.left, 100);
    EXPECT_EQ(area.bottom - area.top, 22);
}

TEST(TooltipTest, EachButtonHasItsTextAndNothingElseHasOne)
{
    struct {
        UINT_PTR id;
        const char* text;
    } const expected[] = {
        {1000, "G\xE9n\xE9rer une nouvelle grille"},
        {1001, "Afficher la solution"},
        {1002, "Ouvrir un fichier nonaro"},
        {1003, "Sauvegarder"},
        {1004, "Imprimer la grille et la solution"},
        {1010, "Annuler la derni\xE8re action"},
        {1011, "R\xE9p\xE9ter la derni\xE8re annulation"},
        {1030, "Utiliser le mode stylo"},
        {1031, "Utiliser le mode crayon"},
        {1032, "Utiliser le mode gomme"},
    };
    for (const auto& tip : expected) {
        TOOLTIPTEXTA request = {};
        request.hinst = GetModuleHandleA(NULL);
        request.lpszText = request.szText;
        FillTooltip(&request, tip.id);
        EXPECT_STREQ(request.szText, tip.text) << tip.id;
        EXPECT_EQ(request.lpszText, request.szText);
        EXPECT_EQ(request.hinst, nullptr);
    }
    for (UINT_PTR id : {2000u, 1005u, 1040u, 0u}) {
        TOOLTIPTEXTA request = {};
        request.lpszText = request.szText;
        std::strcpy(request.szText, "untouched");
        FillTooltip(&request, id);
        EXPECT_STREQ(request.szText, "untouched") << id;
    }
}

TEST(TooltipTest, TextGoesIntoTheRequestsOwnBufferWhereverItPointed)
{
    TOOLTIPTEXTA request = {};
    request.lpszText = LPSTR_TEXTCALLBACKA;
    FillTooltip(&request, 1003);
    EXPECT_EQ(request.lpszText, request.szText);
    EXPECT_STREQ(request.szText, "Sauvegarder");
}

}  // namespace
