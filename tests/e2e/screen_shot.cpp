#include "tests/e2e/screen_shot.h"

#include <cstdio>

int Scaled(int pixels)
{
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int logical = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return logical > 0 ? logical : 96;
    }();
    return MulDiv(pixels, dpi, 96);
}

HBITMAP CreateTopDownDib(HDC dc, int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

ScreenShot ScreenShot::Take(const RECT& screenRect)
{
    ScreenShot shot;
    int width = screenRect.right - screenRect.left;
    int height = screenRect.bottom - screenRect.top;
    if (width <= 0 || height <= 0)
        return shot;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(screen, width, height, &bits);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY)) {
            GdiFlush();
            const DWORD* source = static_cast<const DWORD*>(bits);
            shot.pixels_.assign(source, source + static_cast<size_t>(width) * height);
            shot.width_ = width;
            shot.height_ = height;
        }
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

ScreenShot ScreenShot::WholeScreen()
{
    RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return Take(all);
}

COLORREF ScreenShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    return DibPixelColour(pixels_[static_cast<size_t>(y) * width_ + x]);
}

int ScreenShot::Count(const RECT& area, COLORREF colour) const
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == colour)
                ++n;
    return n;
}

bool ScreenShot::SaveBmp(const char* path) const
{
    if (Empty())
        return false;
    FILE* out = fopen(path, "wb");
    if (!out)
        return false;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER head = {};
    DWORD imageSize = static_cast<DWORD>(pixels_.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + imageSize;
    head.biSize = sizeof head;
    head.biWidth = width_;
    head.biHeight = -height_;
    head.biPlanes = 1;
    head.biBitCount = 32;
    head.biCompression = BI_RGB;
    head.biSizeImage = imageSize;
    // The screen leaves the fourth byte 0, which viewers take for full transparency.
    std::vector<DWORD> opaque(pixels_);
    for (DWORD& p : opaque)
        p |= 0xFF000000u;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&head, sizeof head, 1, out) == 1 &&
              fwrite(opaque.data(), 4, opaque.size(), out) == opaque.size();
    return fclose(out) == 0 && ok;
}
