#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// Drawing recorded on an enhanced metafile and read back record by record,
// so that the tests see the exact device coordinates, objects and texts that
// the printing code handed to GDI.

struct Drawn {
    enum Kind {
        kOther,
        kRectangle,
        kMoveTo,
        kLineTo,
        kText,
        kCreatePen,
        kCreateBrush,
        kCreateFont,
        kSelect,
        kDelete,
        kMapMode,
        kBkMode
    };
    Kind kind = kOther;
    RECT box = {0, 0, 0, 0};  // rectangle as passed to Rectangle; a text's clipping rectangle
    POINT point = {0, 0};     // MoveToEx, LineTo; a text's reference point
    std::string text;
    int textWidth = 0;  // sum of the character advances
    DWORD object = 0;   // metafile object index; stock objects carry ENHMETA_STOCK_OBJECT
    LOGFONTW font = {};
    LOGPEN pen = {};
    DWORD mode = 0;
};

inline DWORD StockRecord(int stockObject) { return ENHMETA_STOCK_OBJECT | static_cast<DWORD>(stockObject); }

// Runs draw on a fresh metafile device context and returns what it drew.
std::vector<Drawn> RecordDrawing(const std::function<void(HDC)>& draw);

// The pen, brush and font selected, by metafile object index, as the
// records met so far leave them.
class Selection {
public:
    void Follow(const Drawn& record);
    DWORD pen = StockRecord(BLACK_PEN);
    DWORD brush = StockRecord(WHITE_BRUSH);
    DWORD font = StockRecord(SYSTEM_FONT);

private:
    std::map<DWORD, Drawn::Kind> created_;
};
