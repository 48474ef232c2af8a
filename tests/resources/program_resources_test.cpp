#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resources/image_scales.h"
#include "tests/program_facts.h"

// Reads the resources of the built nonaro.exe itself, the file that ships,
// loaded as data: nothing of it runs. NONARO_EXE names it (a Unix path is
// taken through Wine's drive Z:).

namespace {

const WORD kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

std::string ProgramPath()
{
    const char* path = getenv("NONARO_EXE");
    std::string windows = path ? path : "";
    if (!windows.empty() && windows[0] == '/') {
        for (char& c : windows)
            if (c == '/')
                c = '\\';
        windows = "Z:" + windows;
    }
    return windows;
}

// The bytes of one resource as the file holds them; empty when it is missing.
std::string Bytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language = kFrench)
{
    HRSRC found = FindResourceExA(module, type, name, language);
    if (!found)
        return std::string();
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

class ProgramResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE); }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override { ASSERT_NE(module, nullptr) << "cannot load " << ProgramPath(); }

    static HMODULE module;
};

HMODULE ProgramResources::module = nullptr;

// FNV-1a, to pin the bytes of the images drawn at 96 DPI.
unsigned Fingerprint(const std::string& bytes)
{
    unsigned hash = 2166136261u;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The images of an icon group, each as the bytes of its RT_ICON resource.
std::vector<std::string> IconImages(HMODULE module, LPCSTR group, std::vector<GroupIconEntry>* entries)
{
    std::vector<std::string> images;
    const std::string data = Bytes(module, MAKEINTRESOURCEA(14), group);
    if (data.size() < 6)
        return images;
    WORD count;
    std::memcpy(&count, data.data() + 4, 2);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= data.size(); ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, data.data() + 6 + i * sizeof(GroupIconEntry), sizeof entry);
        entries->push_back(entry);
        images.push_back(Bytes(module, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(entry.id)));
    }
    return images;
}

BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    std::string* first = reinterpret_cast<std::string*>(param);
    *first = IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
    return FALSE;
}

// The header of a bitmap resource, or of one cursor image, whose bytes
// start at offset.
BITMAPINFOHEADER ImageHeader(const std::string& bytes, size_t offset)
{
    BITMAPINFOHEADER header = {};
    if (bytes.size() >= offset + sizeof header)
        std::memcpy(&header, bytes.data() + offset, sizeof header);
    return header;
}

TEST_F(ProgramResources, IconGroupsAAnd210HoldTheSameImagesAtFiveSizesAndAComesFirst)
{
    std::vector<GroupIconEntry> named, numbered;
    std::vector<std::string> namedImages = IconImages(module, "A", &named);
    std::vector<std::string> numberedImages = IconImages(module, MAKEINTRESOURCEA(210), &numbered);
    ASSERT_FALSE(named.empty()) << "icon group \"A\"";
    ASSERT_FALSE(numbered.empty()) << "icon group 210";

    std::set<int> sizes;
    for (size_t i = 0; i < numbered.size(); ++i) {
        const int size = numbered[i].width ? numbered[i].width : 256;
        sizes.insert(size);
        EXPECT_EQ(numbered[i].height, numbered[i].width) << "image " << numbered[i].id;
        EXPECT_FALSE(numberedImages[i].empty()) << "image " << numbered[i].id << " of group 210 is missing";
        EXPECT_EQ(numberedImages[i].size(), numbered[i].bytes) << "image " << numbered[i].id;
        if (size == 256) {
            EXPECT_EQ(numberedImages[i].substr(0, 4), "\x89PNG") << "Vista and later read 256 pixels as PNG";
        } else {
            EXPECT_EQ(ImageHeader(numberedImages[i], 0).biWidth, size) << "image " << numbered[i].id;
        }
        if (size == 32) {
            EXPECT_EQ(Fingerprint(numberedImages[i]), 0x9d9ffc29u) << "the 32-pixel image as it always was";
        }
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
    ASSERT_EQ(named.size(), numbered.size());
    for (size_t i = 0; i < named.size(); ++i)
        EXPECT_EQ(namedImages[i], numberedImages[i]) << "image " << i << " differs between the groups";

    // The desktop shows a program file's first icon group.
    std::string first;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), FirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, "A");
}

// The first element named tag at or after from, up to its closing "/>" or ">".
std::string Element(const std::string& text, const std::string& tag, size_t from = 0)
{
    const size_t start = text.find("<" + tag, from);
    if (start == std::string::npos)
        return std::string();
    return text.substr(start, text.find('>', start) + 1 - start);
}

std::string Manifest(HMODULE module)
{
    std::string manifest = Bytes(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    if (manifest.empty())
        manifest = Bytes(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    return manifest;
}

TEST_F(ProgramResources, ManifestAsksForCommonControlsSixAsInvokerDpiAwareOnTodaysWindows)
{
    const std::string manifest = Manifest(module);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource (type 24, id 1)";

    // The version must sit in the same identity as the assembly's name, inside
    // the dependency, not merely somewhere in the file.
    const std::string identity = Element(manifest, "assemblyIdentity", manifest.find("<dependentAssembly"));
    // An execution level switches off file and registry virtualisation; the
    // operating systems listed take the program out of the oldest
    // compatibility context.
    const std::string level = Element(manifest, "requestedExecutionLevel");
    // Each DPI setting in its own documented namespace, with its value.
    const size_t aware = manifest.find("<dpiAware ");
    const size_t awareness = manifest.find("<dpiAwareness");
    const std::string system =
        aware == std::string::npos ? "" : manifest.substr(aware, manifest.find("</", aware) - aware);
    const std::string monitor =
        awareness == std::string::npos ? "" : manifest.substr(awareness, manifest.find("</", awareness) - awareness);
    const size_t compatibility = manifest.find("<compatibility");
    const struct {
        const std::string& where;
        const char* attribute;
    } expected[] = {
        {identity, "name=\"Microsoft.Windows.Common-Controls\""},
        {identity, "version=\"6.0.0.0\""},
        {identity, "publicKeyToken=\"6595b64144ccf1df\""},
        {identity, "type=\"win32\""},
        {level, "level=\"asInvoker\""},
        {level, "uiAccess=\"false\""},
        {system, "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"},
        {monitor, "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"},
    };
    for (const auto& item : expected)
        EXPECT_NE(item.where.find(item.attribute), std::string::npos) << item.attribute << " in " << item.where;

    ASSERT_NE(compatibility, std::string::npos) << "no compatibility section";
    const char* const systems[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    std::string listed;
    for (size_t at = manifest.find("<supportedOS", compatibility); at != std::string::npos;
         at = manifest.find("<supportedOS", at + 1))
        listed += Element(manifest, "supportedOS", at);
    for (const char* id : systems)
        EXPECT_NE(listed.find(id), std::string::npos) << "supportedOS " << id;
}

std::string VersionString(const std::vector<char>& block, const char* name)
{
    std::string path = std::string("\\StringFileInfo\\040C04E4\\") + name;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
        return "<none>";
    return text;
}

TEST_F(ProgramResources, VersionBlockIsFrenchAndSaysTwoPointOne)
{
    const std::string raw = Bytes(module, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(raw.empty()) << "no version block in language 0x040C";
    std::vector<char> block(raw.begin(), raw.end());
    // VerQueryValueA converts into the space behind the block.
    block.resize(raw.size() * 3);

    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(
        VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x040C);
    EXPECT_EQ(translation[1], 1252);

    const std::pair<const char*, const char*> strings[] = {{"FileVersion", NONARO_VERSION_TEXT},
                                                           {"ProductVersion", NONARO_VERSION_TEXT},
                                                           {"ProductName", "Nonaro"},
                                                           {"OriginalFilename", "nonaro.exe"}};
    for (const auto& [name, value] : strings)
        EXPECT_EQ(VersionString(block, name), value) << name;

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// One item of a menu template: its flags, id (0 for a popup) and label, the
// label turned into Windows-1252 bytes whatever the test's own code page is.
struct MenuItem {
    int depth;
    WORD flags;
    WORD id;
    std::string label;
};

bool ReadLabel(const std::string& bytes, size_t& at, std::string* label)
{
    std::wstring wide;
    for (;;) {
        if (at + 2 > bytes.size())
            return false;
        wchar_t c;
        std::memcpy(&c, &bytes[at], 2);
        at += 2;
        if (!c)
            break;
        wide += c;
    }
    char text[128] = "";
    if (!wide.empty())
        WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), text, sizeof text - 1, nullptr,
                            nullptr);
    *label = text;
    return true;
}

// One level of a menu template, up to and including its item marked MF_END.
bool ParseLevel(const std::string& bytes, size_t& at, int depth, std::vector<MenuItem>& items)
{
    for (;;) {
        if (at + 2 > bytes.size())
            return false;
        MenuItem item = {depth, 0, 0, ""};
        std::memcpy(&item.flags, &bytes[at], 2);
        at += 2;
        if (!(item.flags & MF_POPUP)) {
            if (at + 2 > bytes.size())
                return false;
            std::memcpy(&item.id, &bytes[at], 2);
            at += 2;
        }
        if (!ReadLabel(bytes, at, &item.label))
            return false;
        items.push_back(item);
        if ((item.flags & MF_POPUP) && !ParseLevel(bytes, at, depth + 1, items))
            return false;
        if (item.flags & MF_END)
            return true;
    }
}

std::vector<MenuItem> ParseMenu(const std::string& bytes)
{
    std::vector<MenuItem> items;
    size_t at = 4;  // the version and the header size, both 0
    if (!ParseLevel(bytes, at, 0, items))
        items.clear();
    return items;
}

TEST_F(ProgramResources, Menu100IsFrenchWithItsLabelsByteForByte)
{
    const std::string bytes = Bytes(module, MAKEINTRESOURCEA(4), MAKEINTRESOURCEA(100));
    ASSERT_FALSE(bytes.empty()) << "no menu 100 in language 0x040C";
    const std::vector<MenuItem> items = ParseMenu(bytes);

    struct Expected {
        int depth;
        WORD id;
        const char* label;
        WORD state;
    };
    const Expected expected[] = {
        {0, 0, " Jeu ", 0},
        {1, 1000, "Nouvelle grille", 0},
        {1, 1002, "Ouvrir", 0},
        {1, 1003, "Enregistrer", MF_GRAYED},
        {1, 0, "", 0},
        {1, 1001, "Solution", MF_GRAYED},
        {1, 1004, "Imprimer", MF_GRAYED},
        {1, 0, "", 0},
        {1, 1005, "Quitter", 0},
        {0, 0, " Edition ", 0},
        {1, 1010, "Annuler  ", MF_GRAYED},
        {1, 1011, "R\xE9p\xE9ter  ", MF_GRAYED},
        {1, 0, "", 0},
        {1, 0, "Niveau  ", 0},
        {2, 1020, "Facile   ", MF_CHECKED},
        {2, 1021, "Moyen   ", 0},
        {2, 1022, "Difficile   ", 0},
        {0, 0, " Outils ", MF_GRAYED},
        {1, 1030, "Stylo", MF_CHECKED},
        {1, 1031, "Crayon", 0},
        {1, 1032, "Gomme", 0},
        {0, 0, " Aide ", 0},
        {1, 1040, "A propos de...", 0},
    };
    const size_t count = sizeof expected / sizeof expected[0];
    ASSERT_EQ(items.size(), count);
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE("item " + std::to_string(i) + " " + expected[i].label);
        EXPECT_EQ(items[i].depth, expected[i].depth);
        EXPECT_EQ(items[i].id, expected[i].id);
        EXPECT_EQ(items[i].label, expected[i].label);
        EXPECT_EQ(items[i].flags & (MF_GRAYED | MF_CHECKED), expected[i].state);
        EXPECT_EQ(items[i].label.find('&'), std::string::npos) << "no mnemonic";
    }
}

// The colours a 16-colour bitmap resource's pixels use, as RGB values.
std::set<COLORREF> ColoursUsed(const std::string& bytes)
{
    std::set<COLORREF> used;
    const BITMAPINFOHEADER header = ImageHeader(bytes, 0);
    const size_t stride = (header.biWidth * 4 + 31) / 32 * 4;
    const size_t pixels = sizeof header + 16 * sizeof(RGBQUAD);
    if (header.biBitCount != 4 || bytes.size() < pixels + stride * header.biHeight)
        return used;
    for (LONG y = 0; y < header.biHeight; ++y)
        for (LONG x = 0; x < header.biWidth; ++x) {
            const unsigned char pair = bytes[pixels + y * stride + x / 2];
            RGBQUAD colour;
            std::memcpy(&colour, bytes.data() + sizeof header + ((x % 2 ? pair : pair >> 4) & 15) * sizeof colour,
                        sizeof colour);
            used.insert(RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue));
        }
    return used;
}

TEST_F(ProgramResources, BitmapsAndCursorHaveTheirSizesColoursAndHotSpot)
{
    // At every scale each picture is its 96-DPI size through MulDiv, drawn
    // only in the colours of the 96-DPI image; the toolbar keeps the grey it
    // masks out.
    const struct {
        int id;
        int pictures, size;
        unsigned fingerprint;
        COLORREF kept;
    } bitmaps[] = {
        {200, 10, 19, 0xc8d31cf0u, RGB(192, 192, 192)},
        {201, 1, 51, 0x36599fe8u, RGB(255, 166, 166)},
        {202, 1, 51, 0x66d023ebu, RGB(125, 190, 255)},
        // The toolbar pictures' strokes, black on white.
        {203, 10, 19, 0x46f9dcd6u, RGB(0, 0, 0)},
    };
    for (const auto& bitmap : bitmaps) {
        const std::string original = Bytes(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(bitmap.id));
        EXPECT_EQ(Fingerprint(original), bitmap.fingerprint) << "bitmap " << bitmap.id << " as it always was";
        const std::set<COLORREF> palette = ColoursUsed(original);
        for (int percent : kImageScales) {
            const int id = ScaledImageId(bitmap.id, percent);
            SCOPED_TRACE("bitmap " + std::to_string(id));
            const std::string bytes = Bytes(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(id));
            const BITMAPINFOHEADER header = ImageHeader(bytes, 0);
            const int size = MulDiv(bitmap.size, percent, 100);
            EXPECT_EQ(header.biWidth, bitmap.pictures * size);
            EXPECT_EQ(header.biHeight, size);
            EXPECT_EQ(header.biBitCount, 4) << "sixteen colours";
            const std::set<COLORREF> used = ColoursUsed(bytes);
            EXPECT_TRUE(used.count(bitmap.kept));
            for (COLORREF colour : used)
                EXPECT_TRUE(palette.count(colour)) << std::hex << "colour " << colour << " is not the image's own";
        }
    }

    // Cursor group 220 names one image; that image starts with its hot spot.
    const std::string group = Bytes(module, MAKEINTRESOURCEA(12), MAKEINTRESOURCEA(220));
    ASSERT_GE(group.size(), 6u + 14u) << "cursor group 220";
    WORD imageId;
    std::memcpy(&imageId, group.data() + 6 + 12, 2);
    const std::string image = Bytes(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(imageId));
    ASSERT_GE(image.size(), 4 + sizeof(BITMAPINFOHEADER)) << "cursor image " << imageId;
    WORD hotSpot[2];
    std::memcpy(hotSpot, image.data(), sizeof hotSpot);
    EXPECT_EQ(hotSpot[0], 8);
    EXPECT_EQ(hotSpot[1], 23);
    const BITMAPINFOHEADER header = ImageHeader(image, 4);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64) << "32 rows of image over 32 of mask";
}

// The executable as its file holds it, 32-bit (PE32) or 64-bit (PE32+), and
// the file offset of an address of its loaded image (0 when no section
// holds it).
struct ProgramFile {
    std::string bytes;
    IMAGE_FILE_HEADER header = {};
    WORD magic = 0;
    WORD subsystem = 0;
    WORD characteristics = 0;
    IMAGE_DATA_DIRECTORY imports = {};
    std::vector<IMAGE_SECTION_HEADER> sections;

    bool Wide() const { return magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC; }
    size_t Offset(DWORD address) const
    {
        for (const IMAGE_SECTION_HEADER& section : sections)
            if (address >= section.VirtualAddress && address - section.VirtualAddress < section.SizeOfRawData)
                return address - section.VirtualAddress + section.PointerToRawData;
        return 0;
    }
    std::string Text(DWORD address) const
    {
        const size_t at = Offset(address);
        return at ? std::string(bytes.c_str() + at) : std::string();
    }
};

template <typename OptionalHeader>
void ReadOptionalHeader(ProgramFile& file, size_t at)
{
    OptionalHeader optional;
    if (file.bytes.size() < at + sizeof optional)
        return;
    std::memcpy(&optional, file.bytes.data() + at, sizeof optional);
    file.subsystem = optional.Subsystem;
    file.characteristics = optional.DllCharacteristics;
    file.imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
}

ProgramFile ReadProgramFile()
{
    ProgramFile file;
    if (FILE* in = fopen(ProgramPath().c_str(), "rb")) {
        char block[65536];
        for (size_t got; (got = fread(block, 1, sizeof block, in)) > 0;)
            file.bytes.append(block, got);
        fclose(in);
    }
    IMAGE_DOS_HEADER dos = {};
    if (file.bytes.size() < sizeof dos)
        return file;
    std::memcpy(&dos, file.bytes.data(), sizeof dos);
    const size_t header = dos.e_lfanew + sizeof(DWORD);
    const size_t optional = header + sizeof file.header;
    DWORD signature = 0;
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || file.bytes.size() < optional + sizeof file.magic)
        return file;
    std::memcpy(&signature, file.bytes.data() + dos.e_lfanew, sizeof signature);
    if (signature != IMAGE_NT_SIGNATURE)
        return file;
    std::memcpy(&file.header, file.bytes.data() + header, sizeof file.header);
    std::memcpy(&file.magic, file.bytes.data() + optional, sizeof file.magic);
    if (file.Wide())
        ReadOptionalHeader<IMAGE_OPTIONAL_HEADER64>(file, optional);
    else if (file.magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        ReadOptionalHeader<IMAGE_OPTIONAL_HEADER32>(file, optional);
    const size_t first = optional + file.header.SizeOfOptionalHeader;
    file.sections.resize(file.header.NumberOfSections);
    if (file.bytes.size() < first + file.sections.size() * sizeof(IMAGE_SECTION_HEADER))
        file.sections.clear();
    else if (!file.sections.empty())
        std::memcpy(file.sections.data(), file.bytes.data() + first,
                    file.sections.size() * sizeof(IMAGE_SECTION_HEADER));
    return file;
}

// Each build's program is for its own machine, and says so in its manifest
// too: Windows loads the common controls of the manifest's architecture, and
// a 64-bit program that names x86 there cannot load them at all.
TEST_F(ProgramResources, FileIsAGuiProgramForItsMachineWithAslrAndDepAndSaysSoInItsManifest)
{
    const ProgramFile file = ReadProgramFile();
    const bool wide = sizeof(void*) == 8;
    ASSERT_EQ(file.header.Machine, wide ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386) << ProgramPath();
    EXPECT_EQ(file.Wide(), wide);
    EXPECT_EQ(file.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    for (WORD flag : {IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE, IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE,
                      IMAGE_DLLCHARACTERISTICS_NX_COMPAT})
        EXPECT_TRUE(file.characteristics & flag) << std::hex << "flag " << flag;

    const std::string manifest = Manifest(module);
    const std::string architecture = std::string("processorArchitecture=\"") + (wide ? "amd64" : "x86") + "\"";
    int named = 0;
    for (size_t at = manifest.find("<assemblyIdentity"); at != std::string::npos;
         at = manifest.find("<assemblyIdentity", at + 1), ++named)
        EXPECT_NE(Element(manifest, "assemblyIdentity", at).find(architecture), std::string::npos)
            << Element(manifest, "assemblyIdentity", at);
    EXPECT_EQ(named, 2) << "the program's identity and the common controls' one";
}

// Every function the program imports, as "dll!name", the library's name in
// lower case.
std::set<std::string> ImportedFunctions(const ProgramFile& file)
{
    std::set<std::string> imported;
    // Each entry of a library's list is a pointer wide.
    const size_t width = file.Wide() ? 8 : 4;
    for (size_t at = file.Offset(file.imports.VirtualAddress);
         at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= file.bytes.size(); at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR library;
        std::memcpy(&library, file.bytes.data() + at, sizeof library);
        if (!library.Name)
            break;
        std::string dll = file.Text(library.Name);
        for (char& c : dll)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        const DWORD thunks = library.OriginalFirstThunk ? library.OriginalFirstThunk : library.FirstThunk;
        for (size_t entry = file.Offset(thunks); entry && entry + width <= file.bytes.size(); entry += width) {
            ULONGLONG thunk = 0;
            std::memcpy(&thunk, file.bytes.data() + entry, width);
            if (!thunk)
                break;
            const bool byOrdinal = file.Wide() ? IMAGE_SNAP_BY_ORDINAL64(thunk) : IMAGE_SNAP_BY_ORDINAL32(thunk);
            imported.insert(dll + "!" + (byOrdinal ? "#" : file.Text(static_cast<DWORD>(thunk) + 2)));
        }
    }
    return imported;
}

TEST(ProgramFile, ImportsNothingNewerThanVista)
{
    const ProgramFile file = ReadProgramFile();
    ASSERT_FALSE(file.sections.empty()) << ProgramPath();
    const std::set<std::string> imported = ImportedFunctions(file);
    // The helper through which the newer functions are found must be there.
    ASSERT_TRUE(imported.count("kernel32.dll!GetProcAddress")) << "the import table was not read";
    const char* const newer[] = {
        "GetDpiForWindow",
        "GetDpiForSystem",
        "AdjustWindowRectExForDpi",
        "GetSystemMetricsForDpi",
        "SystemParametersInfoForDpi",
        "SetThreadDpiAwarenessContext",
        "SetProcessDpiAwarenessContext",
        "EnableNonClientDpiScaling",
        "GetDpiForMonitor",
        "SetProcessDpiAwareness",
        "SetDefaultDllDirectories",
    };
    for (const std::string& function : imported) {
        EXPECT_NE(function.compare(0, 11, "shcore.dll!"), 0) << function;
        for (const char* name : newer)
            EXPECT_NE(function.substr(function.find('!') + 1), name) << function;
    }
}

// A static import is looked for in the program's folder first unless it is
// one of Windows' KnownDLLs (these, from Windows 7 to 11); everything else
// is loaded from the system folder once the program runs.
TEST(ProgramFile, ImportsOnlyLibrariesThatWindowsTakesFromItsOwnCopies)
{
    const char* const knownDlls[] = {
        "advapi32.dll", "comdlg32.dll", "gdi32.dll",   "imm32.dll",   "kernel32.dll", "msvcrt.dll", "ole32.dll",
        "oleaut32.dll", "rpcrt4.dll",   "sechost.dll", "shell32.dll", "shlwapi.dll",  "user32.dll", "ws2_32.dll",
    };
    const ProgramFile file = ReadProgramFile();
    ASSERT_FALSE(file.sections.empty()) << ProgramPath();
    std::set<std::string> libraries;
    for (const std::string& function : ImportedFunctions(file))
        libraries.insert(function.substr(0, function.find('!')));
    ASSERT_TRUE(libraries.count("kernel32.dll")) << "the import table was not read";
    for (const char* known : knownDlls)
        libraries.erase(known);
    for (const std::string& library : libraries)
        ADD_FAILURE() << library << " is imported, and Windows looks for it beside the program";
}

}  // namespace
