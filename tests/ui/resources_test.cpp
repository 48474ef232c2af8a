#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

// The test program carries the same resources as the game.

namespace {

HINSTANCE Self() { return GetModuleHandleA(NULL); }

std::string ResourceBytes(LPCSTR type, LPCSTR name)
{
    HRSRC found = FindResourceA(Self(), name, type);
    if (!found)
        return std::string();
    const char* data = static_cast<const char*>(LockResource(LoadResource(Self(), found)));
    return std::string(data, SizeofResource(Self(), found));
}

std::string Label(HMENU menu, UINT position)
{
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(MenuResourceTest, HoldsTheFourPopupsWithTheirLabelsInOrder)
{
    HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(100));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(Label(menu, 0), " Jeu ");
    EXPECT_EQ(Label(menu, 1), " Edition ");
    EXPECT_EQ(Label(menu, 2), " Outils ");
    EXPECT_EQ(Label(menu, 3), " Aide ");
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);

    HMENU game = GetSubMenu(menu, 0);
    const int gameIds[] = {1000, 1002, 1003, 0, 1001, 1004, 0, 1005};
    const char* gameLabels[] = {"Nouvelle grille", "Ouvrir", "Enregistrer", "", "Solution", "Imprimer", "",
                                "Quitter"};
    ASSERT_EQ(GetMenuItemCount(game), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(static_cast<int>(GetMenuItemID(game, i)), gameIds[i]) << i;
        EXPECT_EQ(Label(game, i), gameLabels[i]) << i;
    }

    HMENU edit = GetSubMenu(menu, 1);
    ASSERT_EQ(GetMenuItemCount(edit), 4);
    EXPECT_EQ(Label(edit, 0), "Annuler  ");
    EXPECT_EQ(Label(edit, 3), "Niveau  ");
    HMENU level = GetSubMenu(edit, 3);
    ASSERT_EQ(GetMenuItemCount(level), 3);
    EXPECT_EQ(Label(level, 0), "Facile   ");
    EXPECT_EQ(Label(level, 1), "Moyen   ");
    EXPECT_EQ(Label(level, 2), "Difficile   ");

    HMENU tools = GetSubMenu(menu, 2);
    EXPECT_EQ(Label(tools, 0), "Stylo");
    EXPECT_EQ(Label(tools, 1), "Crayon");
    EXPECT_EQ(Label(tools, 2), "Gomme");
    EXPECT_EQ(Label(GetSubMenu(menu, 3), 0), "A propos de...");
    DestroyMenu(menu);
}

TEST(MenuResourceTest, StartsWithTheGameCommandsGrayedAndPenAndFacileChecked)
{
    HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(100));
    for (UINT id : {1003u, 1001u, 1004u, 1010u, 1011u})
        EXPECT_TRUE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;
    for (UINT id : {1000u, 1002u, 1005u, 1020u, 1021u, 1022u, 1040u})
        EXPECT_FALSE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;
    for (UINT id : {1020u, 1030u})
        EXPECT_TRUE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) << id;
    for (UINT id : {1021u, 1022u, 1031u, 1032u})
        EXPECT_FALSE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) << id;
    DestroyMenu(menu);
}

TEST(MenuResourceTest, KeepsTheAccentedLabelAsWindows1252Text)
{
    // Stored as UTF-16 in the resource: the 1252 byte E9 must have become U+00E9.
    const wchar_t expected[] = L"R\u00e9p\u00e9ter  ";
    const std::string menu = ResourceBytes(MAKEINTRESOURCEA(4), MAKEINTRESOURCEA(100));
    const std::string wide(reinterpret_cast<const char*>(expected), sizeof(expected) - sizeof(wchar_t));
    EXPECT_NE(menu.find(wide), std::string::npos);

    HMENU loaded = LoadMenuA(Self(), MAKEINTRESOURCEA(100));
    wchar_t label[32] = L"";
    GetMenuStringW(loaded, 1011, label, 32, MF_BYCOMMAND);
    EXPECT_STREQ(label, expected);
    DestroyMenu(loaded);
}

SIZE BitmapSize(int id)
{
    BITMAP info = {};
    HBITMAP bitmap = LoadBitmapA(Self(), MAKEINTRESOURCEA(id));
    GetObjectA(bitmap, sizeof(info), &info);
    DeleteObject(bitmap);
    SIZE size = {info.bmWidth, info.bmHeight};
    return size;
}

TEST(ImageResourceTest, BitmapsHaveTheirSizesAndSixteenColours)
{
    EXPECT_EQ(BitmapSize(200).cx, 190);
    EXPECT_EQ(BitmapSize(200).cy, 19);
    for (int id : {201, 202}) {
        EXPECT_EQ(BitmapSize(id).cx, 51) << id;
        EXPECT_EQ(BitmapSize(id).cy, 51) << id;
    }
    for (int id : {200, 201, 202}) {
        const std::string bits = ResourceBytes(MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(id));
        ASSERT_GE(bits.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, bits.data(), sizeof(header));
        EXPECT_EQ(header.biBitCount, 4) << id;
    }
}

TEST(ImageResourceTest, CursorIsThirtyTwoSquareWithItsHotSpotAtTheEraserEnd)
{
    HCURSOR cursor = LoadCursorA(Self(), MAKEINTRESOURCEA(220));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 8u);
    EXPECT_EQ(info.yHotspot, 23u);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST(ImageResourceTest, BothIconGroupsHoldTheSameImage)
{
    EXPECT_NE(LoadIconA(Self(), MAKEINTRESOURCEA(210)), nullptr);
    EXPECT_NE(LoadIconA(Self(), "A"), nullptr);
    const std::string numbered = ResourceBytes(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(210));
    const std::string named = ResourceBytes(MAKEINTRESOURCEA(14), "A");
    ASSERT_FALSE(numbered.empty());
    EXPECT_EQ(numbered.substr(0, 12), named.substr(0, 12));  // same width, height, colours, size
}

TEST(ProgramResourceTest, ManifestAsksForCommonControlsSix)
{
    const std::string manifest = ResourceBytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

TEST(ProgramResourceTest, VersionBlockIsFrenchAndSaysTwoPointOne)
{
    const std::string block = ResourceBytes(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(block.empty());
    auto wide = [](const wchar_t* text) {
        return std::string(reinterpret_cast<const char*>(text), wcslen(text) * sizeof(wchar_t));
    };
    EXPECT_NE(block.find(wide(L"040C04E4")), std::string::npos);
    const size_t fileVersion = block.find(wide(L"FileVersion"));
    ASSERT_NE(fileVersion, std::string::npos);
    EXPECT_NE(block.find(wide(L"2.1"), fileVersion), std::string::npos);
    // The translation: language 0x040C, code page 1252 (0x04E4).
    const char translation[] = {'\x0C', '\x04', '\xE4', '\x04'};
    EXPECT_NE(block.find(std::string(translation, 4)), std::string::npos);
}

}  // namespace
