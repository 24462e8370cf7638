// Rows as they are painted: DrawRow rendered into a memory bitmap for its pixels, and into a
// metafile for the texts it wrote and the fonts it wrote them in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "tests/app/AppHarness.h"
#include "tests/common/Canvas.h"
#include "tests/common/StartTimes.h"
#include "core/model/DZItem.h"
#include "ui/app/AppState.h"
#include "ui/resources/resource.h"

namespace {

struct TextRun {
    std::wstring text;
    bool italic;
    LONG weight;
};

struct MetafileReader {
    std::map<DWORD, LOGFONTW> fonts;
    LOGFONTW current{};
    std::vector<TextRun> runs;
};

int CALLBACK ReadRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    auto* reader = reinterpret_cast<MetafileReader*>(data);
    switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        reader->fonts[font->ihFont] = font->elfw.elfLogFont;
        break;
    }
    case EMR_SELECTOBJECT: {
        const auto found =
            reader->fonts.find(reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject);
        if (found != reader->fonts.end()) reader->current = found->second;
        break;
    }
    case EMR_EXTTEXTOUTW: {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                             text->emrtext.offString);
        reader->runs.push_back({std::wstring(chars, text->emrtext.nChars),
                                reader->current.lfItalic != 0, reader->current.lfWeight});
        break;
    }
    }
    return 1;
}

DRAWITEMSTRUCT RowItem(int row, HDC dc, int width) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTVIEW;
    item.CtlID = IDC_SCHEDULE_LIST;
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = ListWindow();
    item.hDC = dc;
    item.rcItem = {0, 0, width, g_scheduleList.RowHeight()};
    return item;
}

std::vector<TextRun> RecordRowTexts(int row) {
    HDC metafile = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    // Wide enough that no text is cut with an ellipsis.
    const DRAWITEMSTRUCT item = RowItem(row, metafile, 2000);
    g_scheduleList.DrawRow(&item);
    HENHMETAFILE recorded = CloseEnhMetaFile(metafile);
    MetafileReader reader;
    EnumEnhMetaFile(nullptr, recorded, ReadRecord, &reader, nullptr);
    DeleteEnhMetaFile(recorded);
    return reader.runs;
}

// One row painted on white into a 32-bit bitmap, as the list's own width.
class RenderedRow : public Canvas {
  public:
    explicit RenderedRow(int row) : Canvas(ListWidth(), g_scheduleList.RowHeight()) {
        Fill(RGB(255, 255, 255));
        const DRAWITEMSTRUCT item = RowItem(row, Dc(), width);
        g_scheduleList.DrawRow(&item);
        GdiFlush();
    }
    int Count(const std::function<bool(COLORREF)>& match) const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                n += match(At(x, y));
        return n;
    }

  private:
    static int ListWidth() {
        RECT client;
        GetClientRect(ListWindow(), &client);
        return client.right;
    }
};

bool NearKeyColour(COLORREF c) {
    // The key colour, also as a 16-bit display or a 5-bit channel would round it.
    return std::abs(GetRValue(c) - 111) <= 12 && GetGValue(c) >= 240 &&
           std::abs(GetBValue(c) - 12) <= 12;
}

class DrawRowTest : public ProgramTest {};

TEST_F(DrawRowTest, SelectedRowIsFilledWithTheHighlightAndOthersKeepTheBackground) {
    WriteStorage({{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 2.0}});
    ASSERT_TRUE(Start());
    ASSERT_EQ(SelectedRow(), 0);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const RenderedRow selected(0);
    const RenderedRow plain(1);
    EXPECT_EQ(selected.At(1, 1), highlight);
    EXPECT_EQ(selected.At(selected.width - 1, 1), highlight);
    const int all = selected.width * selected.height;
    EXPECT_GT(selected.Count([&](COLORREF c) { return c == highlight; }), all / 2);
    EXPECT_EQ(plain.At(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(plain.Count([&](COLORREF c) { return c == highlight; }), 0);
}

TEST_F(DrawRowTest, IconsAreDrawnAndTheirKeyColourNeverShows) {
    WriteStorage(
        {{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 2.0}, {Weekly, PowerOff, 1, 3.0}});
    ASSERT_TRUE(Start());
    for (int pass = 0; pass < 2; ++pass) { // every row selected, then none
        for (int row = 0; row < RowCount(); ++row) {
            if (pass == 0)
                g_scheduleList.SelectRow(row, false);
            else
                ListView_SetItemState(ListWindow(), -1, 0, LVIS_SELECTED);
            const RenderedRow rendered(row);
            EXPECT_EQ(rendered.Count(NearKeyColour), 0) << "row " << row << " pass " << pass;
            // The icon itself is there: dark pixels left of the text column.
            int iconInk = 0;
            for (int y = 0; y < rendered.height; ++y)
                for (int x = 2; x < 30; ++x)
                    iconInk +=
                        GetRValue(rendered.At(x, y)) < 90 && GetGValue(rendered.At(x, y)) < 90;
            EXPECT_GT(iconInk, 40) << "row " << row;
        }
    }
}

bool Reddish(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80;
}

// A run of the executor, begun five seconds after a firing of an entry that fires daily at
// this minute, days ago.
RunRecord RanDaysAgo(uint32_t sequence, ActionCode action, double days, bool lineFound) {
    RunRecord run;
    run.sequence = sequence;
    run.instant = FromTicks(ToTicks(LocalTimeFromNow(-days)) + 5 * kTicksPerSecond);
    run.action = action;
    run.finished = true;
    run.states[StepTelephony] = StepMade;
    run.states[StepFindLine] = lineFound ? StepMade : StepFailed;
    return run;
}

TEST_F(DrawRowTest, AnEntryWhoseLastRunFailedIsMarked) {
    WriteStorage(
        {{Weekly, PhoneOff, 1, -3.0}, {Weekly, PhoneOn, 1, -3.0}, {Weekly, PowerOff, 1, -3.0}});
    ASSERT_TRUE(Start());
    std::vector<int> unmarked;
    for (int row = 0; row < RowCount(); ++row)
        unmarked.push_back(RenderedRow(row).Count(Reddish));
    // Phone off failed yesterday; phone on failed the day before and worked yesterday, and the
    // last run counts; power off failed only at a minute that is none of its firings.
    g_runHistory = {RanDaysAgo(4, PhoneOff, 1, false), RanDaysAgo(3, PhoneOn, 1, true),
                    RanDaysAgo(2, PhoneOn, 2, false), RanDaysAgo(1, PowerOff, 1.5, false)};
    for (int row = 0; row < RowCount(); ++row) {
        const auto* entry = static_cast<const DZItem*>(g_scheduleList.GetRowEntry(row));
        SCOPED_TRACE(testing::Message() << "action " << entry->action);
        const int marked = RenderedRow(row).Count(Reddish) - unmarked[static_cast<size_t>(row)];
        if (entry->action == PhoneOff)
            EXPECT_GT(marked, 20);
        else
            EXPECT_EQ(marked, 0);
    }
    g_runHistory.clear();
}

TEST_F(DrawRowTest, PrefixAndFontFollowTheEntryState) {
    struct Case {
        EntrySpec entry;
        const wchar_t* upperLine;
        bool italic;
        LONG weight;
    };
    const Case cases[] = {
        {{Weekly, PhoneOff, 1, 1.0}, L"T-PHONE-OFF", false, FW_BOLD},        // active, ahead
        {{Weekly, PhoneOn, 0, 2.0}, L"T-OFF T-PHONE-ON", true, FW_NORMAL},   // disabled
        {{Once, PowerOff, 1, -3.0}, L"T-PAST T-POWER-OFF", true, FW_NORMAL}, // a date gone
    };
    std::vector<EntrySpec> entries;
    for (const Case& c : cases)
        entries.push_back(c.entry);
    WriteStorage(entries);
    ASSERT_TRUE(Start());
    ASSERT_EQ(RowCount(), 3);
    for (int row = 0; row < RowCount(); ++row) {
        const StorageItem* entry = RowEntry(row);
        ASSERT_NE(entry, nullptr);
        // Each fixture entry has an action of its own, which finds its case.
        const Case* c = nullptr;
        for (const Case& candidate : cases)
            if (candidate.entry.action == static_cast<const DZItem*>(entry)->action) c = &candidate;
        ASSERT_NE(c, nullptr);
        wchar_t schedule[260];
        entry->FormatSchedule(schedule, 260);

        const auto runs = RecordRowTexts(row);
        ASSERT_EQ(runs.size(), 2u) << "row " << row;
        EXPECT_EQ(runs[0].text, c->upperLine);
        EXPECT_EQ(runs[0].italic, c->italic) << c->upperLine;
        EXPECT_EQ(runs[0].weight, c->weight) << c->upperLine;
        EXPECT_EQ(runs[1].text, schedule);
        EXPECT_FALSE(runs[1].italic);
        EXPECT_EQ(runs[1].weight, FW_NORMAL);
    }
}

// A one-time entry's row is drawn again when its instant passes, with no key pressed: the
// list's timer invalidates it then, and not before.
TEST_F(DrawRowTest, AOneTimeRowIsRedrawnWhenItsInstantPasses) {
    DZList list;
    list.Append(
        new DZItem({Once, FromTicks(ToTicks(LocalNow()) + 2 * kTicksPerSecond)}, {PowerOff, 0}));
    ASSERT_TRUE(list.Save());
    ASSERT_TRUE(Start());
    // Timers alone run for ms; then whether the list waits to be painted.
    const auto invalidatedWithin = [](DWORD ms) {
        ValidateRect(ListWindow(), nullptr);
        const DWORD start = GetTickCount();
        MSG message;
        while (GetTickCount() - start < ms)
            if (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
                DispatchMessageW(&message);
            else
                Sleep(5);
        return GetUpdateRect(ListWindow(), nullptr, FALSE) != FALSE;
    };
    EXPECT_FALSE(invalidatedWithin(1000));
    EXPECT_EQ(RecordRowTexts(0)[0].text, L"T-POWER-OFF");
    EXPECT_TRUE(invalidatedWithin(2000));
    EXPECT_EQ(RecordRowTexts(0)[0].text, L"T-PAST T-POWER-OFF");
}

} // namespace
