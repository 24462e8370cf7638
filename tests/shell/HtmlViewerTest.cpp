#include "ShellTestWindows.h"
#include "platform/shell/HtmlLayout.h"
#include "platform/shell/SmartphoneShell.h"
#include <gtest/gtest.h>
#include <string>

namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

int ScrollPosition(HWND window) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    GetScrollInfo(window, SB_VERT, &info);
    return info.nPos;
}

int DarkPixels(const Rendering& rendering) {
    int dark = 0;
    for (COLORREF c : rendering.pixels)
        dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
    return dark;
}

class HtmlViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(InitHTMLControl(GetModuleHandleW(nullptr)));
        ASSERT_TRUE(InitHTMLControl(GetModuleHandleW(nullptr))) << "a second call is harmless";
        RECT area = PhoneWorkArea();
        viewer = CreateWindowExW(0, DISPLAYCLASS, L"", WS_POPUP | WS_VISIBLE, area.left, area.top,
                                 area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(viewer, nullptr);
    }
    void TearDown() override {
        DestroyWindow(viewer);
        PumpMessages();
    }
    BOOL Navigate(const std::wstring& address) {
        return static_cast<BOOL>(
            SendMessageW(viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str())));
    }
    HWND viewer = nullptr;
};

TEST_F(HtmlViewerTest, MissingPageShowsTheNoticeAndALaterPageReplacesIt) {
    EXPECT_FALSE(Navigate(L"file://" + TempPath(L"no-such-page.html")));
    EXPECT_EQ(WindowText(viewer), L"Page not available");
    EXPECT_GT(DarkPixels(Render(viewer)), 50) << "the notice is painted";

    std::wstring page = TempPath(L"shell-test-page.html");
    WriteBytes(page, "<title>Caf\xC3\xA9</title><p>Hello</p>");
    EXPECT_TRUE(Navigate(L"file://" + page));
    EXPECT_EQ(WindowText(viewer), L"Caf\xE9");

    std::wstring forward = page;
    for (wchar_t& c : forward)
        if (c == L'\\') c = L'/';
    EXPECT_TRUE(Navigate(L"file:///" + forward)) << "a URL with slashes";
    EXPECT_FALSE(Navigate(L"http://example.com/")) << "only files are shown";
    EXPECT_EQ(WindowText(viewer), L"Page not available");
    DeleteFileW(page.c_str());
}

TEST_F(HtmlViewerTest, ReadsUtf16PagesOfEitherByteOrder) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"little endian", std::string("\xFF\xFE<\0h\0001\0>\0\xE9\0", 12)},
        {"big endian", std::string("\xFE\xFF\0<\0h\0001\0>\0\xE9", 12)},
    };
    std::wstring page = TempPath(L"shell-test-utf16.html");
    for (const auto& c : cases) {
        WriteBytes(page, c.bytes);
        EXPECT_TRUE(Navigate(L"file://" + page)) << c.name;
        EXPECT_EQ(WindowText(viewer), L"\xE9") << c.name;
    }
    DeleteFileW(page.c_str());
}

TEST_F(HtmlViewerTest, KeysScrollALongPageWithinItsLength) {
    std::string html = "<h1>Long</h1>";
    for (int i = 0; i < 80; ++i)
        html += "<p>Paragraph " + std::to_string(i) + " with words enough to wrap twice.</p>";
    std::wstring page = TempPath(L"shell-test-long.html");
    WriteBytes(page, html);
    ASSERT_TRUE(Navigate(L"file://" + page));
    Rendering top = Render(viewer);

    SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
    int afterDown = ScrollPosition(viewer);
    EXPECT_GT(afterDown, 0);
    SendMessageW(viewer, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_GT(ScrollPosition(viewer), afterDown);
    SendMessageW(viewer, WM_KEYDOWN, VK_END, 0);
    int bottom = ScrollPosition(viewer);
    SendMessageW(viewer, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(ScrollPosition(viewer), bottom) << "no scrolling past the end";
    EXPECT_NE(Render(viewer).pixels, top.pixels);
    SendMessageW(viewer, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_LT(ScrollPosition(viewer), bottom);
    SendMessageW(viewer, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(ScrollPosition(viewer), 0);
    EXPECT_EQ(Render(viewer).pixels, top.pixels);

    EXPECT_TRUE(Navigate(L"file://" + page)) << "navigating again starts at the top";
    EXPECT_EQ(ScrollPosition(viewer), 0);
    DeleteFileW(page.c_str());
}

TEST_F(HtmlViewerTest, TextStaysWithinTheWindowWidth) {
    std::wstring page = TempPath(L"shell-test-wide.html");
    WriteBytes(page, "<p>" + std::string(300, 'W') + "</p><ul><li>" + std::string(200, 'm') +
                         " words after</li></ul>");
    ASSERT_TRUE(Navigate(L"file://" + page));
    Rendering rendering = Render(viewer);
    for (int y = 0; y < rendering.height; ++y) {
        // The rightmost column under the scroll bar's edge stays white.
        ASSERT_EQ(rendering.At(rendering.width - 1, y), RGB(255, 255, 255)) << "row " << y;
    }
    EXPECT_GT(DarkPixels(rendering), 500);
    DeleteFileW(page.c_str());
}

TEST_F(HtmlViewerTest, PagesUpToTheLargestAreShownAndLargerOnesGetTheNotice) {
    const struct {
        const char* name;
        std::string body; // padded with "x" to bytes
        size_t bytes;
        bool shown;
    } cases[] = {
        {"the largest page, one word", "<title>Big</title>", kLargestHtmlPage, true},
        {"one byte more", "<title>Big</title>", kLargestHtmlPage + 1, false},
    };
    std::wstring page = TempPath(L"shell-test-largest.html");
    for (const auto& c : cases) {
        std::string bytes = c.body;
        bytes.resize(c.bytes, 'x');
        WriteBytes(page, bytes);
        EXPECT_EQ(Navigate(L"file://" + page), c.shown) << c.name;
        EXPECT_EQ(WindowText(viewer), c.shown ? L"Big" : L"Page not available") << c.name;
    }
    DeleteFileW(page.c_str());
}

// Laying out costs a measurement per word and, for a word wider than the line, one per line
// it fills, whatever the word's length.
TEST(HtmlLayoutTest, MeasuresEachWordOnceAndALongWordOnceALine) {
    const struct {
        const char* name;
        std::wstring text;
    } cases[] = {
        {"words", L"a few short words to fill a line or two of the phone screen"},
        {"one long word", std::wstring(20000, L'x')},
        {"long word among words", L"before " + std::wstring(5000, L'W') + L" after"},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    HtmlFonts fonts;
    for (const auto& c : cases) {
        HtmlDocument document;
        document.blocks.resize(1);
        document.blocks[0].runs.push_back({c.text});
        const HtmlLayout layout = LayOutPage(document, 240, dc, fonts);
        size_t words = 1;
        for (wchar_t ch : c.text)
            words += ch == L' ';
        size_t letters = 0;
        for (const HtmlFragment& fragment : layout.fragments)
            letters += fragment.text.size();
        EXPECT_EQ(letters + words - 1, c.text.size()) << c.name << ": every letter placed once";
        // The font's metrics and blank once, then at most two a word and one a fragment.
        EXPECT_LE(layout.measurements, 2 + 2 * words + layout.fragments.size()) << c.name;
    }
    DeleteDC(dc);
}

} // namespace
