#include "platform/shell/SmartphoneShell.h"
#include <cstdint>

// The program's bitmaps hold 16 bits per pixel, like the device's screen, so their key
// colour is stored rounded to 5 or 6 bits per channel. On the device both sides of the
// comparison are rounded alike; on a 24-bit desktop screen the loaded bitmap holds the
// rounded colour while the caller names the exact one, and a plain TransparentBlt would show
// the background. So the source is copied, every pixel that equals the key colour at 16-bit
// precision is set to the exact key colour, and the copy is drawn.
namespace {

bool SameAtSixteenBits(uint32_t pixel, COLORREF key) {
    auto channel = [](uint32_t value, int shift) { return (value >> shift & 0xFF) >> 3; };
    // A 32-bit DIB pixel is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    return channel(pixel, 16) == channel(key, 0) && channel(pixel, 8) == channel(key, 8) &&
           channel(pixel, 0) == channel(key, 16);
}

uint32_t DibPixel(COLORREF colour) {
    return uint32_t(GetRValue(colour)) << 16 | uint32_t(GetGValue(colour)) << 8 | GetBValue(colour);
}

// A 32-bit copy of the source rectangle with its key pixels made exact; null on failure.
HBITMAP KeyedCopy(HDC reference, HANDLE source, int sx, int sy, int sw, int sh, COLORREF key) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = sw;
    info.bmiHeader.biHeight = -sh;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!copy) return nullptr;

    HDC from = CreateCompatibleDC(reference);
    HDC to = CreateCompatibleDC(reference);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, copy);
    bool copied =
        oldFrom && oldFrom != HGDI_ERROR && BitBlt(to, 0, 0, sw, sh, from, sx, sy, SRCCOPY);
    if (oldFrom && oldFrom != HGDI_ERROR) SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    if (!copied) {
        DeleteObject(copy);
        return nullptr;
    }
    GdiFlush();
    auto* pixels = static_cast<uint32_t*>(bits);
    uint32_t exact = DibPixel(key);
    for (size_t i = 0, count = size_t(sw) * size_t(sh); i < count; ++i)
        if (SameAtSixteenBits(pixels[i], key)) pixels[i] = exact;
    return copy;
}

} // namespace

BOOL TransparentImage(HDC destination, int dx, int dy, int dw, int dh, HANDLE source, int sx,
                      int sy, int sw, int sh, COLORREF transparent) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HBITMAP copy = KeyedCopy(destination, source, sx, sy, sw, sh, transparent);
    if (!copy) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    HDC memory = CreateCompatibleDC(destination);
    HGDIOBJ old = SelectObject(memory, copy);
    BOOL drawn = TransparentBlt(destination, dx, dy, dw, dh, memory, 0, 0, sw, sh, transparent);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(copy);
    return drawn;
}
