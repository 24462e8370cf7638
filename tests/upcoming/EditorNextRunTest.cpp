// The editor's next-run line as the phone's keys change the entry, and the clash question on
// Done answered both ways, with the file's bytes after each.
#include <gtest/gtest.h>

#include <string>

#include "tests/common/CivilInstants.h"
#include "tests/common/PhoneKeys.h"
#include "tests/upcoming/StorageOf.h"
#include "ui/resources/resource.h"
#include "core/text/LocalePictures.h"

namespace {

std::wstring NextRunLine(PhoneKeys& keys) {
    wchar_t text[128] = L"";
    GetDlgItemTextW(GetAncestor(keys.Focus(), GA_ROOT), IDC_NEXT_RUN_LABEL, text, 128);
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& start) {
    return text.compare(0, start.size(), start) == 0;
}

TEST(EditorNextRun, FollowsEveryChangeAndSaysWhenTheEntryNeverRuns) {
    PhoneProgram program;
    program.Run([](PhoneKeys& keys) {
        keys.Press("F1"); // a new entry: weekly, every day, at the current minute
        EXPECT_TRUE(StartsWith(NextRunLine(keys), L"Next: ")) << NextRunLine(keys);
        const struct {
            const char* keys;
            const wchar_t* shown; // the line's start
        } steps[] = {
            {"Down Down Down Down Return Down Return Down Return Down Return Down Return Down "
             "Return Down Return",
             L"Never runs"},                                 // no weekday ticked
            {"Down Right", L"Never runs"},                   // disabled too
            {"Left", L"Never runs"},                         // active, still no weekday
            {"Up Return", L"Next: "},                        // Sunday ticked again
            {"Up Up Up Up Up Up Up Up Left", L"Never runs"}, // once, this minute: begun
            {"Down 12 Right 25 Right 2030", L"Next: Wed\u00A012/25/2030 "}, // once, ahead
            {"Up Left", L"Next: "}, // within the next 24 hours
        };
        for (const auto& step : steps) {
            keys.Press(step.keys);
            EXPECT_TRUE(StartsWith(NextRunLine(keys), step.shown))
                << step.keys << ": "
                << std::string(NextRunLine(keys).begin(), NextRunLine(keys).end());
        }
        keys.Press("Escape");
    });
    EXPECT_EQ(program.StorageBytes(), "");
}

// Whether the line shows its whole text: wrapped to its width in its font, the text needs no
// more than the line's height.
bool ShownWhole(HWND line) {
    wchar_t text[128] = L"";
    GetWindowTextW(line, text, 128);
    RECT client;
    GetClientRect(line, &client);
    RECT needed = client;
    HDC dc = GetDC(line);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(line, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(line, dc);
    if (needed.bottom > client.bottom || needed.right > client.right) return false;
    // And the page shows the line: it lies within the dialog's visible area.
    RECT shown;
    GetWindowRect(line, &shown);
    MapWindowPoints(HWND_DESKTOP, GetParent(line), reinterpret_cast<POINT*>(&shown), 2);
    RECT page;
    GetClientRect(GetParent(line), &page);
    return shown.top >= page.top && shown.bottom <= page.bottom;
}

// A once entry on the longest date at 10:30 PM, set by keys in the date and time order of a
// 12-hour and a 24-hour locale's pictures: the line shows the time with its AM/PM and the
// weekday with its date, whole.
TEST(EditorNextRun, TheLongestDateShowsWholeWithItsTime) {
    const struct {
        const char* locale;
        const wchar_t* shortDate;
        const wchar_t* longDate;
        const wchar_t* time;
        const char* keys; // from the date picker of a new once entry
        const wchar_t* shown;
    } rows[] = {
        {"en_US", L"M/d/yyyy", L"dddd, MMMM d, yyyy", L"h:mm:ss tt",
         "12 Right 28 Right 2027 Down 10 Right 30 Right Return Up Return",
         L"Next: Tue\u00A012/28/2027 10:30\u00A0PM"},
        {"de_DE", L"dd.MM.yyyy", L"dddd, d. MMMM yyyy", L"HH:mm:ss",
         "28 Right 12 Right 2027 Down 22 Right 30", L"Next: Tue\u00A028.12.2027 22:30"},
    };
    const LocalePictures users = g_localePictures;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        g_localePictures.Derive(row.shortDate, row.longDate, row.time);
        // The time picker opens at the clock's minute, and the keys turn its AM into PM: the
        // clock is set to a morning, whatever instant the suite runs at.
        SetLocalNow(At(2026, 12, 8, 7, 30));
        PhoneProgram program;
        program.Run([&row](PhoneKeys& keys) {
            keys.Press("F1 Down Down Left Down");
            keys.Press(row.keys);
            EXPECT_EQ(NextRunLine(keys), row.shown);
            keys.Press("Down"); // the last field: the status
            EXPECT_TRUE(ShownWhole(GetDlgItem(keys.Active(), IDC_NEXT_RUN_LABEL)));
            keys.Press("Escape");
        });
    }
    g_localePictures = users;
}

TEST(EditorClash, DoneAsksWhenAnotherEntryDoesSomethingElseInTheSameMinute) {
    // Phone on every day at the current minute; a new entry is phone off at the same minute.
    const std::string stored = StorageOf({{Weekly, PhoneOn, 0}});
    PhoneProgram program(stored);
    program.Run([&stored, &program](PhoneKeys& keys) {
        keys.Press("F1 F1");
        HWND box = FindWindowW(L"#32770", L"Dozara");
        ASSERT_NE(box, nullptr);
        wchar_t text[256] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        const std::wstring question = text;
        EXPECT_TRUE(StartsWith(question, L"Same minute as:\nPhone on\n"))
            << std::string(question.begin(), question.end());
        EXPECT_NE(question.find(L"\nKeep both entries?"), std::wstring::npos);
        keys.Press("Escape"); // No: back in the editor, nothing saved
        EXPECT_FALSE(IsWindow(box));
        EXPECT_TRUE(StartsWith(NextRunLine(keys), L"Next: "));
        EXPECT_EQ(program.StorageBytes(), stored);
        keys.Press("F1 Return"); // Done, then Yes: saved beside the other
        EXPECT_EQ(program.StorageBytes().size(), stored.size() + 20); // one record more
        EXPECT_EQ(program.StorageBytes().compare(8, stored.size() - 8, stored, 8), 0);
    });
    EXPECT_TRUE(program.TakeRefresh());
}

} // namespace
