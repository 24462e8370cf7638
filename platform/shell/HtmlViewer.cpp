#include "platform/shell/HtmlDocument.h"
#include "platform/shell/HtmlLayout.h"
#include "platform/shell/PaintThrough.h"
#include "platform/shell/SmartphoneShell.h"
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

// The viewer window "DISPLAYCLASS": DTM_NAVIGATE with a "file://" address loads the page,
// which is laid out to the window's width and scrolled with the keys (Up and Down by a line,
// Left and Right by a screen), the scroll bar or the wheel; the action key is the page's OK. The
// window's text is the page's title, or the notice's when the page could not be loaded.
namespace {

constexpr int kLineStep = 16;

struct Viewer {
    HtmlDocument document;
    HtmlFonts fonts;
    HtmlLayout layout;
    int scrollTop = 0;
};

Viewer* ViewerOf(HWND window) {
    return reinterpret_cast<Viewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// "file://C:\dir\page.html", "file:///C:/dir/page.html": the file's path; empty for an
// address of any other kind.
std::wstring PathOfAddress(const wchar_t* address) {
    std::wstring_view url(address ? address : L"");
    constexpr std::wstring_view scheme = L"file://";
    if (url.size() <= scheme.size() || _wcsnicmp(url.data(), scheme.data(), scheme.size()) != 0)
        return {};
    std::wstring path(url.substr(scheme.size()));
    if (path.size() >= 3 && path[0] == L'/' && path[2] == L':') path.erase(0, 1);
    return path;
}

std::wstring DecodeBytes(const std::string& bytes) {
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t size = bytes.size();
    if (size >= 2 &&
        ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) {
        bool bigEndian = data[0] == 0xFE;
        std::wstring text;
        for (size_t at = 2; at + 1 < size; at += 2)
            text += static_cast<wchar_t>(bigEndian ? data[at] << 8 | data[at + 1]
                                                   : data[at + 1] << 8 | data[at]);
        return text;
    }
    size_t skip = (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) ? 3 : 0;
    const char* utf8 = bytes.data() + skip;
    int length = static_cast<int>(size - skip);
    // A page that is not valid UTF-8 is read in the system's code page.
    UINT codePage = CP_UTF8;
    int count = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, utf8, length, nullptr, 0);
    if (count == 0 && length > 0) {
        codePage = CP_ACP;
        count = MultiByteToWideChar(codePage, 0, utf8, length, nullptr, 0);
    }
    std::wstring text(count, L'\0');
    MultiByteToWideChar(codePage, 0, utf8, length, text.data(), count);
    return text;
}

// The page's text; none when the file cannot be read, and none with tooLarge set when it is
// over the largest page shown, which is not read at all.
std::optional<std::wstring> ReadPage(const std::wstring& path, bool& tooLarge) {
    tooLarge = false;
    if (path.empty()) return std::nullopt;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    std::optional<std::wstring> page;
    if (GetFileSizeEx(file, &size)) {
        tooLarge = size.QuadPart > kLargestHtmlPage;
        std::string bytes(tooLarge ? 0 : static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (!tooLarge &&
            ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size())
            page = DecodeBytes(bytes);
    }
    CloseHandle(file);
    return page;
}

int ClientHeight(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.bottom - client.top;
}

// The scroll bar stays in place, disabled while the page fits, so that the width the page
// was laid out for never changes under it.
void UpdateScrollBar(HWND window, Viewer& viewer) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, viewer.layout.height - 1);
    info.nPage = static_cast<UINT>(ClientHeight(window));
    info.nPos = viewer.scrollTop;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void ScrollTo(HWND window, Viewer& viewer, int top) {
    int lowest = std::max(0, viewer.layout.height - ClientHeight(window));
    top = std::clamp(top, 0, lowest);
    if (top == viewer.scrollTop) return;
    viewer.scrollTop = top;
    UpdateScrollBar(window, viewer);
    InvalidateRect(window, nullptr, TRUE);
}

void LayOut(HWND window, Viewer& viewer) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    viewer.layout = LayOutPage(viewer.document, client.right - client.left, dc, viewer.fonts);
    ReleaseDC(window, dc);
    viewer.scrollTop =
        std::clamp(viewer.scrollTop, 0, std::max(0, viewer.layout.height - ClientHeight(window)));
    UpdateScrollBar(window, viewer);
    InvalidateRect(window, nullptr, TRUE);
}

void PaintContent(HWND window, HDC dc) {
    Viewer* viewer = ViewerOf(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!viewer) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    for (const HtmlFragment& fragment : viewer->layout.fragments) {
        int y = fragment.y - viewer->scrollTop;
        if (y > client.bottom || y + 2 * kLineStep < client.top) continue;
        SelectObject(dc, fragment.font);
        TextOutW(dc, fragment.x, y, fragment.text.c_str(), static_cast<int>(fragment.text.size()));
    }
    SelectObject(dc, oldFont);
}

LRESULT OnNavigate(HWND window, Viewer& viewer, const wchar_t* address) {
    std::wstring path = PathOfAddress(address);
    bool tooLarge = false;
    std::optional<std::wstring> page = ReadPage(path, tooLarge);
    viewer.document = page       ? ParseHtml(*page)
                      : tooLarge ? NoticeDocument(address, L"The page is too large to show:")
                                 : NoticeDocument(address ? address : L"");
    viewer.scrollTop = 0;
    SetWindowTextW(window, viewer.document.title.c_str());
    LayOut(window, viewer);
    return page.has_value();
}

// A page step keeps one line of the previous screen in view, so the reader finds the place.
void OnKey(HWND window, Viewer& viewer, WPARAM key) {
    int page = std::max(kLineStep, ClientHeight(window) - kLineStep);
    switch (key) {
    case VK_UP: ScrollTo(window, viewer, viewer.scrollTop - kLineStep); break;
    case VK_DOWN: ScrollTo(window, viewer, viewer.scrollTop + kLineStep); break;
    case VK_LEFT:
    case VK_PRIOR: ScrollTo(window, viewer, viewer.scrollTop - page); break;
    case VK_RIGHT:
    case VK_NEXT: ScrollTo(window, viewer, viewer.scrollTop + page); break;
    // The phone's action key closes the page, as the dialog's OK: the parent decides.
    case VK_RETURN: PostMessageW(GetParent(window), WM_COMMAND, IDOK, 0); break;
    case VK_HOME: ScrollTo(window, viewer, 0); break;
    case VK_END: ScrollTo(window, viewer, viewer.layout.height); break;
    }
}

void OnScrollBar(HWND window, Viewer& viewer, WORD request) {
    int page = std::max(kLineStep, ClientHeight(window) - kLineStep);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window, SB_VERT, &info);
    switch (request) {
    case SB_LINEUP: ScrollTo(window, viewer, viewer.scrollTop - kLineStep); break;
    case SB_LINEDOWN: ScrollTo(window, viewer, viewer.scrollTop + kLineStep); break;
    case SB_PAGEUP: ScrollTo(window, viewer, viewer.scrollTop - page); break;
    case SB_PAGEDOWN: ScrollTo(window, viewer, viewer.scrollTop + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(window, viewer, info.nTrackPos); break;
    case SB_TOP: ScrollTo(window, viewer, 0); break;
    case SB_BOTTOM: ScrollTo(window, viewer, viewer.layout.height); break;
    }
}

LRESULT CALLBACK HtmlViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Viewer* viewer = ViewerOf(window);
    if (PaintThrough(window, message, wParam, PaintContent)) return 0;
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Viewer));
        break;
    case WM_CREATE: UpdateScrollBar(window, *viewer); return 0;
    case WM_NCDESTROY:
        delete viewer;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    case DTM_NAVIGATE:
        return viewer ? OnNavigate(window, *viewer, reinterpret_cast<const wchar_t*>(lParam))
                      : FALSE;
    case WM_SIZE:
        if (viewer) LayOut(window, *viewer);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | (wParam == VK_RETURN ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN:
        if (viewer) OnKey(window, *viewer, wParam);
        return 0;
    case WM_VSCROLL:
        if (viewer) OnScrollBar(window, *viewer, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        if (viewer)
            ScrollTo(window, *viewer,
                     viewer->scrollTop -
                         GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * kLineStep);
        return 0;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

BOOL InitHTMLControl(HINSTANCE instance) {
    WNDCLASSW existing;
    if (GetClassInfoW(instance, DISPLAYCLASS, &existing)) return TRUE;
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = HtmlViewerProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = DISPLAYCLASS;
    return RegisterClassW(&windowClass) != 0;
}
