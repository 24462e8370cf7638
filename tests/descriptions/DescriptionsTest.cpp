// The words of an entry: action phrase, monthly day phrase and schedule summary, from the
// keys of a test "local.dat" and the user's locale; every text is cut to its buffer.
#include <gtest/gtest.h>

#include <string>

#include "LocaleTexts.h"
#include "TestTexts.h"
#include "tests/common/CivilInstants.h"
#include "platform/core/SkippedTime.h"
#include "core/model/DZItem.h"
#include "core/model/RunInstant.h"
#include "core/model/ScheduleTypes.h"
#include "core/text/FiringText.h"
#include "core/text/LocalePictures.h"

namespace {

std::wstring Action(uint16_t action, uint16_t options) {
    DZItem entry;
    entry.action = action;
    entry.options = options;
    wchar_t text[kEntryTextSize];
    entry.FormatAction(text, kEntryTextSize);
    return text;
}

std::wstring MonthlyDay(int16_t mode, int32_t day, int32_t week, int32_t weekday) {
    StorageItem entry(Monthly, 0);
    entry.monthlyMode = mode;
    entry.dayOfMonth = day;
    entry.weekIndex = week;
    entry.monthlyWeekday = weekday;
    wchar_t text[kDayPhraseSize];
    wmemset(text, L'#', kDayPhraseSize);
    entry.FormatMonthlyDay(text, kDayPhraseSize);
    return text;
}

// The letters of a summary as the list shows them, from a mask written "M---F--": a middle dot
// for each day or month that is not set, each apart from the next by a thin blank.
std::wstring Letters(const std::wstring& written) {
    std::wstring shown;
    for (wchar_t c : written) {
        if (!shown.empty()) shown += L'\u2009';
        shown += c == L'-' ? L'\u00B7' : c;
    }
    return shown;
}

class Descriptions : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(LoadTestTexts(DescriptionTexts())); }
};

TEST_F(Descriptions, ActionPhraseByActionAndBluetoothBits) {
    const struct {
        uint16_t action, options;
        const wchar_t* text;
    } cases[] = {
        {PhoneOff, 0, L"Phone off"},
        {PhoneOff, 1, L"Phone off, BT off"},
        {PhoneOff, 2, L"Phone off"}, // only bit 0 counts with phone off
        {PhoneOff, 3, L"Phone off, BT off"},
        {PhoneOn, 0, L"Phone on"},
        {PhoneOn, 1, L"Phone on, BT on"},
        {PhoneOn, 2, L"Phone on, BT visible"}, // the discoverable bit alone is enough
        {PhoneOn, 3, L"Phone on, BT visible"},
        {PowerOff, 3, L"Power off"},
        {5, 0, L"<Error>"},
        {0xFFFF, 1, L"<Error>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Action(c.action, c.options), c.text) << c.action << "/" << c.options;

    StorageItem plain(Weekly, 0);
    wchar_t text[8] = L"junk";
    plain.FormatAction(text, 8);
    EXPECT_STREQ(text, L"");
}

TEST_F(Descriptions, MonthlyDayPhrase) {
    const struct {
        int16_t mode;
        int32_t day, week, weekday;
        const wchar_t* text;
    } cases[] = {
        {0, 15, 0, 0, L"15"},
        {0, 31, 0, 0, L"31"},
        {0, 0, 0, 0, L"last day"},
        {0, -1, 0, 0, L"last-1"},
        {0, -2, 0, 0, L"last-2"},
        {0, -3, 0, 0, L"last-3"},
        {0, -7, 0, 0, L"-/-"},
        {1, 0, 0, 1, L"first Monday"},
        {1, 0, 1, 2, L"second Tuesday"},
        {1, 0, 2, 4, L"third Wednesday"},
        {1, 0, 3, 8, L"fourth Thursday"},
        {1, 0, 9, 16, L"last Friday"},
        {1, 0, -1, 32, L"last Saturday"},
        {1, 0, 4, 64, L"last Sunday"},
        {1, 0, 0, 3, L""},
        {1, 0, 0, 0, L""},
        {2, 15, 0, 1, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MonthlyDay(c.mode, c.day, c.week, c.weekday), c.text)
            << c.mode << " " << c.day << " " << c.week << " " << c.weekday;
}

// The schedule fields of one entry: each builder sets what its kind reads, the rest stays 0.
struct Fields {
    int32_t kind;
    FILETIME start;
    int32_t showSeconds, weekdays, months;
    int16_t mode;
    int32_t day, week, weekday;
};

Fields WeeklyOn(const FILETIME& start, int32_t weekdays) {
    return {Weekly, start, 0, weekdays, 0, 0, 0, 0, 0};
}
Fields WithSeconds(Fields fields) {
    fields.showSeconds = 1;
    return fields;
}
Fields OfKind(int32_t kind, const FILETIME& start) {
    return {kind, start, 0, 0, 0, 0, 0, 0, 0};
}
Fields MonthlyOnDay(const FILETIME& start, int32_t months, int32_t day) {
    return {Monthly, start, 0, 0, months, 0, day, 0, 0};
}
Fields MonthlyOnWeekday(const FILETIME& start, int32_t months, int32_t week, int32_t weekdayBit) {
    return {Monthly, start, 0, 0, months, 1, 0, week, weekdayBit};
}
// A mode that no editor writes, with a day and weekday that either known mode would show.
Fields MonthlyInMode(const FILETIME& start, int16_t mode) {
    return {Monthly, start, 0, 0, 4095, mode, 1, 0, 1};
}
// A kind no entry has, with every weekday set that the weekly summary would show.
Fields UnknownKind(int32_t kind, const FILETIME& start) {
    return {kind, start, 0, 127, 0, 0, 0, 0, 0};
}

TEST_F(Descriptions, ScheduleSummaryOfEveryKindInTheUserLocale) {
    const LocaleTexts* locale = UserLocaleTexts();
    if (!locale) GTEST_SKIP() << "no expectations for this locale";
    const std::wstring time = locale->timeText;
    struct Case {
        const char* what;
        Fields fields;
        std::wstring text;
    };
    const FILETIME monday = At(2026, 12, 7, 8, 5, 9);
    const FILETIME sunday = At(2026, 12, 6, 8, 5, 9);
    const Case cases[] = {
        {"weekly Monday and Friday", WeeklyOn(monday, 1 | 16),
         time + L", weekly: " + Letters(L"M---F--")},
        {"weekly every day", WeeklyOn(monday, 127), time + L", weekly: " + Letters(L"MTWTFSS")},
        {"weekly with seconds", WithSeconds(WeeklyOn(monday, 0)),
         std::wstring(locale->timeWithSecondsText) + L", weekly: " + Letters(L"-------")},
        {"once on a Sunday", OfKind(Once, sunday), time + L", " + locale->sundayDate + L" Sun"},
        {"next 24 hours", OfKind(Next24Hours, monday), L"within 24h at " + time},
        {"monthly on day 15 of January and July", MonthlyOnDay(monday, 1 | 64, 15),
         time + L", day 15, monthly: " + Letters(L"J-----J-----")},
        {"monthly on the last day", MonthlyOnDay(monday, 4095, 0),
         time + L", last day, monthly: " + Letters(L"JFMAMJJASOND")},
        {"monthly two days before the last", MonthlyOnDay(monday, 2048, -2),
         time + L", day last-2, monthly: " + Letters(L"-----------D")},
        {"monthly far before the last", MonthlyOnDay(monday, 0, -7),
         time + L", day -/-, monthly: " + Letters(L"------------")},
        {"monthly on the last Friday", MonthlyOnWeekday(monday, 2, 9, 16),
         time + L", last Friday, monthly: " + Letters(L"-F----------")},
        {"monthly of an unknown mode", MonthlyInMode(monday, 3), L""},
        {"yearly", OfKind(Yearly, sunday), time + L", j\x00e4hrlich: " + locale->sundayYearlyDate},
        {"unknown kind", UnknownKind(16, monday), L""},
    };
    for (const Case& c : cases) {
        DZItem entry;
        entry.kind = c.fields.kind;
        entry.startTime = c.fields.start;
        entry.showSeconds = c.fields.showSeconds;
        entry.weekdayMask = c.fields.weekdays;
        entry.monthMask = c.fields.months;
        entry.monthlyMode = c.fields.mode;
        entry.dayOfMonth = c.fields.day;
        entry.weekIndex = c.fields.week;
        entry.monthlyWeekday = c.fields.weekday;
        wchar_t text[kEntryTextSize];
        wmemset(text, L'#', kEntryTextSize);
        entry.FormatSchedule(text, kEntryTextSize);
        EXPECT_EQ(std::wstring(text), c.text) << c.what;
    }
}

// Over-long texts are cut where their buffer ends; nothing past a buffer is touched.
class Truncation : public ::testing::Test {
  protected:
    void SetUp() override { saved = g_localePictures; }
    void TearDown() override { g_localePictures = saved; }
    LocalePictures saved;
};

std::wstring Summary(const StorageItem& entry, size_t size) {
    wchar_t text[kEntryTextSize + 8];
    wmemset(text, L'#', kEntryTextSize + 8);
    entry.FormatSchedule(text, size);
    for (size_t i = size; i < kEntryTextSize + 8; ++i)
        EXPECT_EQ(text[i], L'#') << "written past the buffer of " << size;
    return size ? std::wstring(text) : std::wstring();
}

TEST_F(Truncation, SmallOutputBuffersHoldThePrefixOfTheSummary) {
    ASSERT_TRUE(LoadTestTexts(DescriptionTexts()));
    DZItem entry;
    entry.kind = Monthly;
    entry.startTime = At(2026, 12, 7, 8, 5, 9);
    entry.dayOfMonth = -3;
    const std::wstring whole = Summary(entry, kEntryTextSize);
    ASSERT_GT(whole.size(), 20u);
    for (size_t size = 0; size <= whole.size() + 1; ++size) {
        const std::wstring cut = Summary(entry, size);
        EXPECT_EQ(cut, whole.substr(0, size ? size - 1 : 0)) << size;
    }
}

TEST_F(Truncation, LongTextsAndPicturesAreCutToTheirBuffers) {
    TextLines lines = DescriptionTexts();
    const std::wstring longWord(400, L'w');
    for (auto& line : lines)
        if (line.first == L"DAY_STRING" || line.first == L"WEEKLY_TEXT" ||
            line.first == L"DLG_PHONE_ON" || line.first == L"DLG_BT_DISC_SHORT")
            line.second = longWord;
    ASSERT_TRUE(LoadTestTexts(lines));
    // 63-character pictures that print far more than a time or date text holds.
    for (int i = 0; i < kPictureSize - 1; ++i) {
        g_localePictures.timeNoSecondsPicture[i] = L"HH:mm "[i % 6];
        g_localePictures.longDateNoWeekdayYearPicture[i] = L"MMMM "[i % 5];
    }
    g_localePictures.timeNoSecondsPicture[kPictureSize - 1] = L'\0';
    g_localePictures.longDateNoWeekdayYearPicture[kPictureSize - 1] = L'\0';

    DZItem entry;
    entry.startTime = At(2026, 12, 7, 8, 5, 9);
    entry.kind = Monthly;
    entry.dayOfMonth = 15;
    const std::wstring monthly = Summary(entry, kEntryTextSize);
    // The time text keeps 14 characters, the day part 31.
    EXPECT_EQ(monthly.substr(0, 16), L"08:05 08:05 08, ");
    EXPECT_EQ(monthly.substr(16, 33), std::wstring(31, L'w') + L", ");

    entry.kind = Yearly;
    const std::wstring yearly = Summary(entry, kEntryTextSize);
    const size_t date = yearly.find(L": ");
    ASSERT_NE(date, std::wstring::npos);
    EXPECT_EQ(yearly.size() - date - 2, 29u) << "the date text keeps 29 characters";

    entry.kind = Weekly;
    EXPECT_EQ(Summary(entry, kEntryTextSize).size(), kEntryTextSize - 1);

    wchar_t action[kEntryTextSize + 8];
    wmemset(action, L'#', kEntryTextSize + 8);
    entry.action = PhoneOn;
    entry.options = 2;
    entry.FormatAction(action, kEntryTextSize);
    EXPECT_EQ(wcslen(action), kEntryTextSize - 1);
    EXPECT_EQ(action[kEntryTextSize], L'#');
}

std::wstring Firing(const FILETIME& instant) {
    wchar_t text[kEntryTextSize];
    FormatFiringInstant(instant, text, kEntryTextSize);
    return text;
}

// The clocks go forward in Europe/Berlin on 29 March 2026 (02:00 becomes 03:00) and back on 25
// October (03:00 becomes 02:00). A firing in the skipped hour runs, and shows, as it ends; the
// suite runs once in that zone (descriptions_berlin).
TEST_F(Descriptions, AFiringInTheSkippedHourShowsWhenTheEngineRunsIt) {
    SYSTEMTIME skipped{2026, 3, 0, 29, 2, 30, 0, 0};
    if (!LocalTimeSkipped(skipped)) GTEST_SKIP() << "the time zone skips no hour in March 2026";
    const struct {
        const char* what;
        FILETIME due;
        FILETIME runs;
    } rows[] = {
        {"in the skipped hour", At(2026, 3, 29, 2, 30), At(2026, 3, 29, 3, 0)},
        {"its first minute", At(2026, 3, 29, 2, 0), At(2026, 3, 29, 3, 0)},
        {"its last second", At(2026, 3, 29, 2, 59, 59), At(2026, 3, 29, 3, 0)},
        {"just before it", At(2026, 3, 29, 1, 59), At(2026, 3, 29, 1, 59)},
        {"as it ends", At(2026, 3, 29, 3, 0), At(2026, 3, 29, 3, 0)},
        {"the hour that comes twice", At(2026, 10, 25, 2, 30), At(2026, 10, 25, 2, 30)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ToTicks(RunInstant(row.due)), ToTicks(row.runs)) << row.what;
        EXPECT_EQ(Firing(row.due), Firing(row.runs)) << row.what;
    }
    EXPECT_EQ(ToTicks(RunInstant(kNever)), ToTicks(kNever));
}

} // namespace
