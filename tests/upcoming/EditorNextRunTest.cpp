// The editor's next-run line as the phone's keys change the entry, and the clash question on
// Done answered both ways, with the file's bytes after each.
#include <gtest/gtest.h>

#include <string>

#include "tests/common/PhoneKeys.h"
#include "tests/upcoming/StorageOf.h"
#include "ui/resources/resource.h"

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
             L"Never runs"},                                           // no weekday ticked
            {"Down Right", L"Never runs"},                             // disabled too
            {"Left", L"Never runs"},                                   // active, still no weekday
            {"Up Return", L"Next: "},                                  // Sunday ticked again
            {"Up Up Up Up Up Up Up Up Left", L"Never runs"},           // once, this minute: begun
            {"Down 12 Right 25 Right 2030", L"Next: Wed 12/25/2030 "}, // once, ahead
            {"Up Left", L"Next: "},                                    // within the next 24 hours
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
