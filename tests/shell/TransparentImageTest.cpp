#include "platform/shell/SmartphoneShell.h"
#include "tests/common/Canvas.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF kKeyColour = RGB(111, 254, 12);

// A 28 x 28 bitmap of 16 bits per pixel, key colour around a blue square, turned into a
// bitmap of the screen's format as LoadBitmapW does with the program's resources.
HBITMAP MakeIcon() {
    constexpr int kSize = 28;
    auto pack = [](COLORREF c) {
        return uint16_t((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | GetBValue(c) >> 3);
    };
    std::vector<uint16_t> bits(kSize * kSize, pack(kKeyColour));
    for (int y = 8; y < 20; ++y)
        for (int x = 8; x < 20; ++x)
            bits[y * kSize + x] = pack(RGB(0, 0, 255));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HBITMAP icon =
        CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return icon;
}

bool NearKey(COLORREF c) {
    return abs(GetRValue(c) - 111) < 12 && abs(GetGValue(c) - 254) < 12 &&
           abs(GetBValue(c) - 12) < 12;
}

TEST(TransparentImageTest, TheKeyColourNeverShows) {
    HBITMAP icon = MakeIcon();
    ASSERT_NE(icon, nullptr);
    const struct {
        int width, height; // drawn size: as is and stretched
    } cases[] = {{28, 28}, {56, 42}};
    for (const auto& c : cases) {
        Canvas canvas(64, 64);
        canvas.Fill(RGB(255, 255, 255));
        EXPECT_TRUE(
            TransparentImage(canvas.Dc(), 2, 3, c.width, c.height, icon, 0, 0, 28, 28, kKeyColour));
        GdiFlush();
        int keyPixels = 0, bluePixels = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const COLORREF pixel = canvas.At(x, y);
                keyPixels += NearKey(pixel);
                bluePixels += pixel == RGB(0, 0, 255);
            }
        EXPECT_EQ(keyPixels, 0) << c.width << " x " << c.height;
        EXPECT_GE(bluePixels, 12 * 12);
        EXPECT_EQ(canvas.At(2, 3), RGB(255, 255, 255)) << "background kept at the corner";
    }
    DeleteObject(icon);
}

TEST(TransparentImageTest, EventModifySetsResetsAndRefusesUnknownFunctions) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(EventModify(event, EVENT_SET));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(EventModify(event, EVENT_RESET));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_FALSE(EventModify(event, 7));
    CloseHandle(event);
}

} // namespace
