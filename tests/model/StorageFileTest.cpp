// "storage.dat" byte for byte: what the list writes, what it accepts and where loading stops.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"

namespace {

const Bytes kActionHeader = {0x05, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00};

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes U32(uint32_t v) {
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
            static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
}

// A base record: kind, startTime (low, high), weekday byte, active byte.
Bytes Base(uint32_t kind, uint32_t low, uint32_t high, unsigned char weekdays,
           unsigned char active) {
    return Cat({U32(kind), U32(low), U32(high), {weekdays, active}});
}

Bytes Extension(uint16_t action, uint16_t options) {
    return {0x04,
            0x00,
            static_cast<unsigned char>(action),
            static_cast<unsigned char>(action >> 8),
            static_cast<unsigned char>(options),
            static_cast<unsigned char>(options >> 8)};
}

struct EntrySpec {
    int32_t kind;
    uint32_t low, high;
    int32_t weekdayMask, active;
    uint16_t action, options;
    int32_t monthMask = kAllMonths;
    int16_t monthlyMode = 0;
    int32_t dayOfMonth = 1, weekIndex = 0, monthlyWeekday = 0;
};

DZItem* MakeEntry(const EntrySpec& s) {
    auto* e = new DZItem();
    e->kind = s.kind;
    e->startTime = {s.low, s.high};
    e->weekdayMask = s.weekdayMask;
    e->active = s.active;
    e->action = s.action;
    e->options = s.options;
    e->monthMask = s.monthMask;
    e->monthlyMode = s.monthlyMode;
    e->dayOfMonth = s.dayOfMonth;
    e->weekIndex = s.weekIndex;
    e->monthlyWeekday = s.monthlyWeekday;
    return e;
}

class StorageFile : public ::testing::Test {
  protected:
    void SetUp() override { SetPath(list); }
    void SetPath(StorageList& l) {
        swprintf(l.path, 260, L"%ls", folder.File(L"storage.dat").c_str());
    }
    Bytes Saved() { return ReadBytes(folder.File(L"storage.dat")); }
    TempFolder folder;
    DZList list;
};

TEST_F(StorageFile, WritesEveryKindOfRecordByteForByte) {
    struct Case {
        const char* name;
        std::vector<EntrySpec> entries;
        Bytes expected;
    };
    const Case cases[] = {
        {"empty list", {}, kActionHeader},
        {"weekly, phone on with discoverable Bluetooth",
         {{Weekly, 0x11223344, 0x01D9AABB, 0x1F, 1, PhoneOn, 3}},
         Cat({kActionHeader, Base(1, 0x11223344, 0x01D9AABB, 0x1F, 1), Extension(1, 3)})},
        {"weekday mask above 255 keeps its low byte, disabled once entry",
         {{Once, 1, 2, 0x1FF, 0, PowerOff, 0}},
         Cat({kActionHeader, Base(2, 1, 2, 0xFF, 0), Extension(2, 0)})},
        {"monthly carries its eighteen monthly bytes",
         {{Monthly, 5, 6, 127, 1, PhoneOff, 1, 0x0A5, 1, -3, 4, 16}},
         Cat({kActionHeader,
              Base(8, 5, 6, 127, 1),
              U32(0x0A5),
              {0x01, 0x00},
              U32(0xFFFFFFFD),
              U32(4),
              U32(16),
              Extension(0, 1)})},
        {"two entries back to back in list order",
         {{Next24Hours, 7, 8, 127, 1, PhoneOff, 0}, {Yearly, 9, 10, 127, 1, PhoneOn, 1}},
         Cat({kActionHeader, Base(4, 7, 8, 127, 1), Extension(0, 0), Base(32, 9, 10, 127, 1),
              Extension(1, 1)})},
    };
    for (const Case& c : cases) {
        list.Clear();
        for (const EntrySpec& s : c.entries)
            list.Append(MakeEntry(s));
        ASSERT_TRUE(list.Save()) << c.name;
        EXPECT_EQ(Saved(), c.expected) << c.name;
        size_t counted = kActionHeader.size();
        for (StorageItem* e = list.head; e; e = e->next)
            counted += static_cast<size_t>(e->RecordSize());
        EXPECT_EQ(counted, c.expected.size()) << c.name;
    }
}

TEST_F(StorageFile, RecordSizesAreTwentyAndThirtyEightBytes) {
    list.Append(MakeEntry({Weekly, 0, 0, 127, 1, PhoneOff, 0}));
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(Saved().size(), 8u + 20u);
    list.Append(MakeEntry({Monthly, 0, 0, 127, 1, PhoneOff, 0}));
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(Saved().size(), 8u + 20u + 38u);
}

TEST_F(StorageFile, LoadsAcceptsAndRefusesAsTheHeaderSays) {
    const Bytes weekly = Cat({Base(1, 100, 200, 0x15, 1), Extension(1, 3)});
    const Bytes monthly =
        Cat({Base(8, 1, 2, 127, 1), U32(4095), {0, 0}, U32(31), U32(0), U32(0), Extension(2, 0)});
    struct Case {
        const char* name;
        Bytes file;
        bool result;
        long entries;
        LoadReport::State state;
        long stoppedAt;
    };
    const Case cases[] = {
        {"header alone", kActionHeader, true, 0, LoadReport::Whole, 0},
        {"plain list's first word", Cat({{0x00, 0xCE, 0x02, 0x01}, U32(1), weekly}), false, 0,
         LoadReport::Refused, 0},
        {"other version", Cat({{0x05, 0xCE, 0x01, 0x01}, U32(1), weekly}), false, 0,
         LoadReport::Refused, 0},
        {"format word 2", Cat({{0x05, 0xCE, 0x02, 0x01}, U32(2), weekly}), true, 1,
         LoadReport::Whole, 0},
        {"format word 65535", Cat({{0x05, 0xCE, 0x02, 0x01}, U32(65535), weekly}), true, 1,
         LoadReport::Whole, 0},
        {"format word 65536", Cat({{0x05, 0xCE, 0x02, 0x01}, U32(65536), weekly}), false, 0,
         LoadReport::Refused, 0},
        {"empty file", {}, false, 0, LoadReport::Refused, 0},
        {"header cut short", {0x05, 0xCE, 0x02, 0x01, 0x01}, false, 0, LoadReport::Refused, 0},
        {"two whole records", Cat({kActionHeader, weekly, monthly}), true, 2, LoadReport::Whole, 0},
        {"record cut in its base",
         Cat({kActionHeader, weekly, Bytes(weekly.begin(), weekly.begin() + 7)}), true, 1,
         LoadReport::DamagedTail, 28},
        {"record cut in its extension",
         Cat({kActionHeader, weekly, Bytes(weekly.begin(), weekly.end() - 1)}), true, 1,
         LoadReport::DamagedTail, 28},
        {"monthly cut in its monthly block",
         Cat({kActionHeader, Bytes(monthly.begin(), monthly.begin() + 20)}), true, 0,
         LoadReport::DamagedTail, 8},
        {"extension word 5",
         Cat({kActionHeader, weekly, Base(1, 0, 0, 1, 1), {0x05, 0x00, 0, 0, 0, 0}, weekly}), true,
         1, LoadReport::DamagedTail, 28},
    };
    for (const Case& c : cases) {
        WriteBytes(folder.File(L"storage.dat"), c.file);
        EXPECT_EQ(list.Load(), c.result) << c.name;
        EXPECT_EQ(list.LastLoad().state, c.state) << c.name;
        EXPECT_EQ(list.LastLoad().entries, c.entries) << c.name;
        EXPECT_EQ(list.LastLoad().stoppedAt, c.stoppedAt) << c.name;
        long count = 0;
        for (StorageItem* e = list.head; e; e = e->next)
            ++count;
        EXPECT_EQ(count, c.entries) << c.name;
    }
}

TEST_F(StorageFile, MissingFileGivesAnEmptyListAndFalse) {
    list.Append(MakeEntry({Weekly, 0, 0, 127, 1, PhoneOff, 0}));
    EXPECT_FALSE(list.Load());
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.LastLoad().state, LoadReport::Missing);
}

TEST_F(StorageFile, FieldsSurviveASaveAndLoad) {
    list.Append(
        MakeEntry({Monthly, 0xDEADBEEF, 0x01DC0000, 0x7F, 1, PhoneOn, 2, 0x800, 1, -2, 9, 64}));
    list.Append(MakeEntry({Once, 0x12345678, 0x01DC1234, 0x100, 1, 7, 0xFFFF}));
    ASSERT_TRUE(list.Save());
    DZList again;
    SetPath(again);
    ASSERT_TRUE(again.Load());
    auto* monthly = static_cast<DZItem*>(again.head);
    ASSERT_NE(monthly, nullptr);
    EXPECT_EQ(monthly->kind, Monthly);
    EXPECT_EQ(monthly->startTime.dwLowDateTime, 0xDEADBEEFu);
    EXPECT_EQ(monthly->startTime.dwHighDateTime, 0x01DC0000u);
    EXPECT_EQ(monthly->monthMask, 0x800);
    EXPECT_EQ(monthly->monthlyMode, 1);
    EXPECT_EQ(monthly->dayOfMonth, -2);
    EXPECT_EQ(monthly->weekIndex, 9);
    EXPECT_EQ(monthly->monthlyWeekday, 64);
    EXPECT_EQ(monthly->action, PhoneOn);
    EXPECT_EQ(monthly->options, 2);
    EXPECT_EQ(monthly->owner, &again);
    auto* once = static_cast<DZItem*>(monthly->next);
    ASSERT_NE(once, nullptr);
    EXPECT_EQ(once->prev, monthly);
    EXPECT_EQ(once->weekdayMask, 0); // only the low byte of 0x100 is stored
    EXPECT_EQ(once->active, 1);
    EXPECT_EQ(once->action, 7);
    EXPECT_EQ(once->options, 0xFFFF);
    // The monthly fields of other kinds are not stored and keep their construction values.
    EXPECT_EQ(once->monthMask, kAllMonths);
    EXPECT_EQ(once->dayOfMonth, 1);
    EXPECT_EQ(once->next, nullptr);
}

TEST_F(StorageFile, PlainListWritesItsOwnFileAndRefusesTheActionFile) {
    StorageList plain;
    SetPath(plain);
    auto* e = new StorageItem(Weekly, 0);
    e->startTime = {1, 2};
    plain.Append(e);
    ASSERT_TRUE(plain.Save());
    EXPECT_EQ(Saved(), Cat({{0x00, 0xCE, 0x02, 0x01}, U32(1), Base(1, 1, 2, 127, 1)}));
    EXPECT_FALSE(list.Load());

    list.Append(MakeEntry({Weekly, 0, 0, 127, 1, PhoneOff, 0}));
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(plain.Load());
}

TEST_F(StorageFile, VersionWord257MeansNoVersionWord) {
    StorageList plain;
    SetPath(plain);
    plain.version = 257;
    plain.Append(new StorageItem(Once, 0));
    ASSERT_TRUE(plain.Save());
    const Bytes saved = Saved();
    ASSERT_EQ(saved.size(), 6u + 14u);
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 6), Cat({{0x00, 0xCE}, U32(1)}));
    EXPECT_TRUE(plain.Load());
    ASSERT_NE(plain.head, nullptr);
    EXPECT_EQ(plain.head->kind, Once);
}

TEST(StorageList, AppendAndRemoveKeepTheChainWhole) {
    DZList list;
    std::vector<StorageItem*> entries;
    for (int i = 0; i < 5; ++i) {
        entries.push_back(list.CreateEntry());
        entries.back()->weekdayMask = i;
        list.Append(entries.back());
    }
    list.Remove(entries[4]); // the tail
    list.Remove(entries[0]); // the head
    list.Remove(entries[2]); // the middle
    auto* appended = list.CreateEntry();
    appended->weekdayMask = 9;
    list.Append(appended); // goes behind the new tail
    std::vector<int> forward, backward;
    StorageItem* last = nullptr;
    for (StorageItem* e = list.head; e; e = e->next) {
        forward.push_back(e->weekdayMask);
        last = e;
    }
    for (StorageItem* e = last; e; e = e->prev)
        backward.push_back(e->weekdayMask);
    EXPECT_EQ(forward, (std::vector<int>{1, 3, 9}));
    EXPECT_EQ(backward, (std::vector<int>{9, 3, 1}));
    list.Clear();
    EXPECT_EQ(list.head, nullptr);
    list.Append(list.CreateEntry());
    EXPECT_NE(list.head, nullptr);
}

TEST(StorageItem, NewActionEntryHasItsDefaults) {
    SYSTEMTIME before = LocalNowFields();
    DZItem e;
    SYSTEMTIME start;
    ASSERT_TRUE(FileTimeToSystemTime(&e.startTime, &start));
    EXPECT_EQ(e.kind, Weekly);
    EXPECT_EQ(e.weekdayMask, 127);
    EXPECT_EQ(e.active, 1);
    EXPECT_EQ(e.monthMask, 4095);
    EXPECT_EQ(e.monthlyMode, 0);
    EXPECT_EQ(e.dayOfMonth, 1);
    EXPECT_EQ(e.weekIndex, 0);
    EXPECT_EQ(e.monthlyWeekday, 0);
    EXPECT_EQ(e.showSeconds, 0);
    EXPECT_EQ(e.action, PhoneOff);
    EXPECT_EQ(e.options, 0);
    EXPECT_EQ(start.wSecond, 0);
    EXPECT_EQ(start.wMilliseconds, 0);
    EXPECT_EQ(start.wYear, before.wYear);
    EXPECT_LE(abs(start.wMinute - before.wMinute) % 59, 1);
}

TEST(StorageItem, OnlyPassedOneTimeEntriesAreOutdated) {
    const uint64_t now = ToTicks(LocalNow());
    const uint64_t hour = 3600 * kTicksPerSecond;
    struct Case {
        int32_t kind;
        uint64_t start;
        bool outdated;
    };
    const Case cases[] = {
        {Once, now - hour, true},    {Next24Hours, now - hour, true},
        {Once, now + hour, false},   {Next24Hours, now + hour, false},
        {Weekly, now - hour, false}, {Monthly, now - 1000 * hour, false},
        {Yearly, 0, false},
    };
    for (const Case& c : cases) {
        StorageItem e(c.kind, 0);
        e.startTime = FromTicks(c.start);
        EXPECT_EQ(e.IsOutdated(), c.outdated)
            << c.kind << " " << (c.start < now ? "past" : "future");
    }
}

class RecordingEditor : public EntryEditor {
  public:
    explicit RecordingEditor(int result) : result(result) { ++alive; }
    ~RecordingEditor() override { --alive; }
    int RunModal(HWND, StorageItem* entry) override {
        entry->active = 0;
        return result;
    }
    int result;
    static int alive;
    static uint32_t lastKinds;
    static uint16_t lastTemplate;
};
int RecordingEditor::alive = 0;
uint32_t RecordingEditor::lastKinds = 0;
uint16_t RecordingEditor::lastTemplate = 0;

TEST(StorageItem, EditRunsTheEditorOnceAndDestroysIt) {
    EntryScreen screen;
    DZList owner;
    DZItem entry;
    EXPECT_EQ(entry.Edit(nullptr), kEditCanceled); // no owner, so no screen
    entry.owner = &owner;
    EXPECT_EQ(entry.Edit(nullptr), kEditCanceled); // the owner lends no screen
    owner.screen = &screen;
    EXPECT_EQ(entry.Edit(nullptr), kEditCanceled); // the screen has no editor

    screen.actionEditorTemplate = 105;
    screen.actionEditor = [](uint16_t id, uint32_t kinds, int32_t) -> EntryEditor* {
        RecordingEditor::lastTemplate = id;
        RecordingEditor::lastKinds = kinds;
        return new RecordingEditor(kEditDone);
    };
    EXPECT_EQ(entry.Edit(nullptr), kEditDone);
    EXPECT_EQ(entry.active, 0);
    EXPECT_EQ(RecordingEditor::alive, 0);
    EXPECT_EQ(RecordingEditor::lastTemplate, 105);
    EXPECT_EQ(RecordingEditor::lastKinds, 7u);

    screen.storageEditor = [](uint16_t id, uint32_t kinds, int32_t) -> EntryEditor* {
        RecordingEditor::lastTemplate = id;
        RecordingEditor::lastKinds = kinds;
        return new RecordingEditor(kEditCanceled);
    };
    StorageItem plain(Weekly, 0);
    plain.owner = &owner;
    EXPECT_EQ(plain.Edit(nullptr), kEditCanceled);
    EXPECT_EQ(RecordingEditor::lastTemplate, 0);
    EXPECT_EQ(RecordingEditor::lastKinds, 15u);
    EXPECT_EQ(RecordingEditor::alive, 0);
}

TEST(StorageItem, BitmapFollowsTheActionOrTheKind) {
    EntryScreen screen;
    screen.powerOff = reinterpret_cast<HBITMAP>(131);
    screen.phoneOff = reinterpret_cast<HBITMAP>(132);
    screen.phoneOn = reinterpret_cast<HBITMAP>(133);
    DZList owner;
    owner.screen = &screen;
    const struct {
        uint16_t action;
        intptr_t bitmap;
    } actions[] = {{PhoneOff, 132}, {PhoneOn, 133}, {PowerOff, 131}, {7, 0}};
    for (const auto& c : actions) {
        DZItem e;
        e.action = c.action;
        e.owner = &owner;
        EXPECT_EQ(reinterpret_cast<intptr_t>(e.ListBitmap()), c.bitmap) << c.action;
    }
    const struct {
        int32_t kind;
        intptr_t bitmap;
    } kinds[] = {{Weekly, 132}, {Once, 133}, {Next24Hours, 131}, {Monthly, 0}, {Yearly, 0}};
    for (const auto& c : kinds) {
        StorageItem e(c.kind, 0);
        e.owner = &owner;
        EXPECT_EQ(reinterpret_cast<intptr_t>(e.ListBitmap()), c.bitmap) << c.kind;
    }
}

} // namespace
