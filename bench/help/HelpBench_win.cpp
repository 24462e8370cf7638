// Opening a help page in the HTML viewer under Wine: DTM_NAVIGATE until the page is read,
// parsed and laid out, for a page of words and a page of one long word, each at the largest
// size the viewer shows and at a sixteenth of it (1.00x per byte = linear), and a page over
// the limit, which must come back at once with the viewer's notice.
//   help_bench.exe [runs]
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/WineTiming.h"
#include "platform/shell/SmartphoneShell.h"

namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// A page of about bytes bytes: paragraphs of ordinary words, or one word without a blank.
std::wstring WritePage(const wchar_t* name, size_t bytes, bool oneWord) {
    std::string html = "<title>Bench</title><p>";
    const std::string words = "Scheduled actions switch the phone radio off at night. ";
    while (html.size() + words.size() + 4 < bytes) {
        if (oneWord)
            html += 'x';
        else
            html += html.size() % 2000 < words.size() ? "</p><p>" + words : words;
    }
    html += "</p>";
    const std::wstring path = TempPath(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, html.data(), static_cast<DWORD>(html.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

// Seconds to open the page in a fresh phone-sized viewer, negative when the outcome differs
// from shown (the page, or the notice).
double OpenPage(const std::wstring& path, bool shown) {
    HWND viewer = CreateWindowExW(0, DISPLAYCLASS, L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 266,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const std::wstring address = L"file://" + path;
    LRESULT result = 0;
    const double seconds = TimeIt([&] {
        result = SendMessageW(viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str()));
        return true;
    });
    DestroyWindow(viewer);
    return (result != 0) == shown ? seconds : -1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 3;
    InitHTMLControl(GetModuleHandleW(nullptr));
    const size_t largest = kLargestHtmlPage;
    struct Page {
        const char* figure;
        std::wstring path;
        bool shown;
        double seconds = 0;
    } pages[] = {
        {"words, largest page", WritePage(L"bench-words.html", largest, false), true},
        {"words, 1/16 of it", WritePage(L"bench-words-16.html", largest / 16, false), true},
        {"one word, largest page", WritePage(L"bench-word.html", largest, true), true},
        {"one word, 1/16 of it", WritePage(L"bench-word-16.html", largest / 16, true), true},
        {"4 MB page: the notice", WritePage(L"bench-4mb.html", 4u << 20, false), false},
    };
    for (Page& page : pages) {
        page.seconds = MedianSeconds(runs, [&] { return OpenPage(page.path, page.shown); });
        printf("%-24s %10.1f ms\n", page.figure, page.seconds * 1e3);
    }
    PrintRatioHeader("Opening help: per byte against a page 1/16 the size (1.00x = linear)");
    PrintRatioRow("words, largest page / 16", pages[0].seconds / 16, "words, 1/16 of it",
                  pages[1].seconds, "linear in the page's length");
    PrintRatioRow("one word, largest page / 16", pages[2].seconds / 16, "one word, 1/16",
                  pages[3].seconds, "bounded work per line");
    PrintRatioRow("4 MB page (notice)", pages[4].seconds, "words, largest page", pages[0].seconds,
                  "refused without reading it");
    printf("largest page %zu bytes; target: under 1 s to open it\n", largest);
    for (const Page& page : pages)
        DeleteFileW(page.path.c_str());
    return 0;
}
