#include "tests/print/page_recording.h"

namespace {

RECT FromRectl(const RECTL& r)
{
    RECT out = {r.left, r.top, r.right, r.bottom};
    return out;
}

template <typename Record>
const Record* As(const ENHMETARECORD* record)
{
    return reinterpret_cast<const Record*>(record);
}

void ReadText(const ENHMETARECORD* record, Drawn& out)
{
    const EMREXTTEXTOUTW* text = As<EMREXTTEXTOUTW>(record);
    const BYTE* base = reinterpret_cast<const BYTE*>(record);
    out.kind = Drawn::kText;
    out.point.x = text->emrtext.ptlReference.x;
    out.point.y = text->emrtext.ptlReference.y;
    out.box = FromRectl(text->emrtext.rcl);
    const DWORD count = text->emrtext.nChars;
    if (record->iType == EMR_EXTTEXTOUTW) {
        const WCHAR* chars = reinterpret_cast<const WCHAR*>(base + text->emrtext.offString);
        for (DWORD i = 0; i < count; ++i)
            out.text += chars[i] < 0x80 ? static_cast<char>(chars[i]) : '?';
    } else {
        out.text.assign(reinterpret_cast<const char*>(base + text->emrtext.offString), count);
    }
    if (text->emrtext.offDx) {
        const INT* advances = reinterpret_cast<const INT*>(base + text->emrtext.offDx);
        for (DWORD i = 0; i < count; ++i)
            out.textWidth += advances[i];
    }
}

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param)
{
    std::vector<Drawn>* drawn = reinterpret_cast<std::vector<Drawn>*>(param);
    Drawn out;
    switch (record->iType) {
    case EMR_RECTANGLE:
        out.kind = Drawn::kRectangle;
        out.box = FromRectl(As<EMRRECTANGLE>(record)->rclBox);
        // A metafile keeps the box with its right and bottom edges included.
        ++out.box.right;
        ++out.box.bottom;
        break;
    case EMR_MOVETOEX:
        out.kind = Drawn::kMoveTo;
        out.point.x = As<EMRMOVETOEX>(record)->ptl.x;
        out.point.y = As<EMRMOVETOEX>(record)->ptl.y;
        break;
    case EMR_LINETO:
        out.kind = Drawn::kLineTo;
        out.point.x = As<EMRLINETO>(record)->ptl.x;
        out.point.y = As<EMRLINETO>(record)->ptl.y;
        break;
    case EMR_EXTTEXTOUTW:
    case EMR_EXTTEXTOUTA:
        ReadText(record, out);
        break;
    case EMR_CREATEPEN:
        out.kind = Drawn::kCreatePen;
        out.object = As<EMRCREATEPEN>(record)->ihPen;
        out.pen = As<EMRCREATEPEN>(record)->lopn;
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        out.kind = Drawn::kCreateFont;
        out.object = As<EMREXTCREATEFONTINDIRECTW>(record)->ihFont;
        out.font = As<EMREXTCREATEFONTINDIRECTW>(record)->elfw.elfLogFont;
        break;
    case EMR_SELECTOBJECT:
        out.kind = Drawn::kSelect;
        out.object = As<EMRSELECTOBJECT>(record)->ihObject;
        break;
    case EMR_DELETEOBJECT:
        out.kind = Drawn::kDelete;
        out.object = As<EMRDELETEOBJECT>(record)->ihObject;
        break;
    case EMR_SETMAPMODE:
        out.kind = Drawn::kMapMode;
        out.mode = As<EMRSETMAPMODE>(record)->iMode;
        break;
    case EMR_SETBKMODE:
        out.kind = Drawn::kBkMode;
        out.mode = As<EMRSETBKMODE>(record)->iMode;
        break;
    case EMR_CREATEBRUSHINDIRECT:
        out.kind = Drawn::kCreateBrush;
        out.object = As<EMRCREATEBRUSHINDIRECT>(record)->ihBrush;
        break;
    case EMR_HEADER:
    case EMR_EOF:
        return 1;
    default:
        break;
    }
    drawn->push_back(out);
    return 1;
}

Drawn::Kind StockKind(DWORD index)
{
    if (index <= NULL_BRUSH)
        return Drawn::kCreateBrush;
    if (index <= NULL_PEN)
        return Drawn::kCreatePen;
    return Drawn::kCreateFont;
}

}  // namespace

std::vector<Drawn> RecordDrawing(const std::function<void(HDC)>& draw)
{
    std::vector<Drawn> drawn;
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    if (!dc)
        return drawn;
    draw(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    EnumEnhMetaFile(NULL, metafile, Collect, &drawn, NULL);
    DeleteEnhMetaFile(metafile);
    return drawn;
}

void Selection::Follow(const Drawn& record)
{
    if (record.kind == Drawn::kCreatePen || record.kind == Drawn::kCreateBrush || record.kind == Drawn::kCreateFont) {
        created_[record.object] = record.kind;
        return;
    }
    if (record.kind != Drawn::kSelect)
        return;
    const DWORD index = record.object;
    Drawn::Kind kind = Drawn::kOther;
    if (index & ENHMETA_STOCK_OBJECT)
        kind = StockKind(index & ~ENHMETA_STOCK_OBJECT);
    else if (created_.count(index))
        kind = created_[index];
    if (kind == Drawn::kCreatePen)
        pen = index;
    else if (kind == Drawn::kCreateFont)
        font = index;
    else if (kind == Drawn::kCreateBrush)
        brush = index;
}
