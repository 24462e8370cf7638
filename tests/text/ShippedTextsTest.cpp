// The "local.dat" that ships with the program: every language section answers every key the
// program asks for, and the texts that are strung together or put in fixed buffers are short
// enough for them.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "ui/text/TextTable.h"

namespace {

const wchar_t* const kKeys[] = {
    L"APP_NAME",
    L"MSG_NO_ENGINE",
    L"BTN_NEW",
    L"BTN_MENU",
    L"MENU_DELETE",
    L"MENU_DISABLE",
    L"MENU_ACTIVATE",
    L"MENU_ABOUT",
    L"MENU_HELP",
    L"MENU_EXIT",
    L"MSG_CONFIRM_DELETE",
    L"MSG_ABOUT",
    L"PREFIX_OFF",
    L"PREFIX_OUTDATED",
    L"DLG_HELP_HEADERTEXT",
    L"BTN_OK",
    L"BTN_DONE",
    L"BTN_CANCEL",
    L"DLG_HEADERTEXT",
    L"DLG_OCCURS",
    L"DLG_OCCURS_ONCE",
    L"DLG_OCCURS_NEXT24H",
    L"DLG_OCCURS_WEEKLY",
    L"DLG_OCCURS_MONTHLY",
    L"DLG_OCCURS_YEARLY",
    L"DLG_DATE",
    L"DLG_TIME",
    L"DLG_DAYS_OF_WEEK",
    L"DLG_STATUS",
    L"DLG_STATUS_ON",
    L"DLG_STATUS_OFF",
    L"DLG_YEARLYDATE",
    L"DLG_MONTHS",
    L"DLG_MONTHLY_TYPE",
    L"DLG_MONTHLY_TYPE_BYDAY",
    L"DLG_MONTHLY_TYPE_BYWEEKDAY",
    L"DLG_MONTH_DAY",
    L"MIDDLE_MONTH_1",
    L"MIDDLE_MONTH_2",
    L"MIDDLE_MONTH_3",
    L"MIDDLE_MONTH_4",
    L"MIDDLE_MONTH_5",
    L"MIDDLE_MONTH_6",
    L"MIDDLE_MONTH_7",
    L"MIDDLE_MONTH_8",
    L"MIDDLE_MONTH_9",
    L"MIDDLE_MONTH_10",
    L"MIDDLE_MONTH_11",
    L"MIDDLE_MONTH_12",
    L"MONDAY",
    L"TUESDAY",
    L"WEDNESDAY",
    L"THURSDAY",
    L"FRIDAY",
    L"SATURDAY",
    L"SUNDAY",
    L"DLG_MONTHLY_WEEK_FIRST",
    L"DLG_MONTHLY_WEEK_SECOND",
    L"DLG_MONTHLY_WEEK_THIRD",
    L"DLG_MONTHLY_WEEK_FOURTH",
    L"DLG_MONTHLY_WEEK_LAST",
    L"DLG_MONTHLY_LASTDAY",
    L"DLG_MONTHLY_LASTDAY-1",
    L"DLG_MONTHLY_LASTDAY-2",
    L"DLG_MONTHLY_LASTDAY-3",
    L"DLG_ACTION",
    L"DLG_OPTIONS",
    L"DLG_PHONE_OFF",
    L"DLG_PHONE_ON",
    L"DLG_POWER_OFF",
    L"DLG_BT_OFF",
    L"DLG_BT_ON",
    L"DLG_BT_DISC",
    L"DAY_STRING",
    L"WEEKLY_TEXT",
    L"NEXT24H_TEXT",
    L"MONTHLY_SHORT_TEXT",
    L"YEARLY_TEXT",
    L"SHORT_MONDAY",
    L"SHORT_TUESDAY",
    L"SHORT_WEDNESDAY",
    L"SHORT_THURSDAY",
    L"SHORT_FRIDAY",
    L"SHORT_SATURDAY",
    L"SHORT_SUNDAY",
    L"MIDDLE_MONDAY",
    L"MIDDLE_TUESDAY",
    L"MIDDLE_WEDNESDAY",
    L"MIDDLE_THURSDAY",
    L"MIDDLE_FRIDAY",
    L"MIDDLE_SATURDAY",
    L"MIDDLE_SUNDAY",
    L"SHORT_MONTH_1",
    L"SHORT_MONTH_2",
    L"SHORT_MONTH_3",
    L"SHORT_MONTH_4",
    L"SHORT_MONTH_5",
    L"SHORT_MONTH_6",
    L"SHORT_MONTH_7",
    L"SHORT_MONTH_8",
    L"SHORT_MONTH_9",
    L"SHORT_MONTH_10",
    L"SHORT_MONTH_11",
    L"SHORT_MONTH_12",
    L"DLG_BT_SHORT",
    L"DLG_BT_OFF_SHORT",
    L"DLG_BT_ON_SHORT",
    L"DLG_BT_DISC_SHORT",
};
static_assert(sizeof kKeys / sizeof kKeys[0] == 108, "every key the program looks up");

const wchar_t* const kWeekWords[] = {L"DLG_MONTHLY_WEEK_FIRST", L"DLG_MONTHLY_WEEK_SECOND",
                                     L"DLG_MONTHLY_WEEK_THIRD", L"DLG_MONTHLY_WEEK_FOURTH",
                                     L"DLG_MONTHLY_WEEK_LAST"};
const wchar_t* const kWeekdays[] = {L"MONDAY", L"TUESDAY",  L"WEDNESDAY", L"THURSDAY",
                                    L"FRIDAY", L"SATURDAY", L"SUNDAY"};
const wchar_t* const kLastDays[] = {L"DLG_MONTHLY_LASTDAY", L"DLG_MONTHLY_LASTDAY-1",
                                    L"DLG_MONTHLY_LASTDAY-2", L"DLG_MONTHLY_LASTDAY-3"};
constexpr size_t kDayPhraseLength = 31; // characters of a monthly day phrase or day part

bool StartsWith(const wchar_t* text, const wchar_t* prefix) {
    return wcsncmp(text, prefix, wcslen(prefix)) == 0;
}

class ShippedTexts : public testing::TestWithParam<const wchar_t*> {
  protected:
    void SetUp() override { ASSERT_TRUE(table.LoadFrom(L"" DZ_SHIPPED_LOCAL_DAT, GetParam())); }
    size_t Length(const wchar_t* key) const { return wcslen(table.Lookup(key)); }
    TextTable table;
};

TEST_P(ShippedTexts, HoldEveryKeyWithAText) {
    for (const wchar_t* key : kKeys) {
        const wchar_t* text = table.Lookup(key);
        EXPECT_STRNE(text, L"<undefined>") << key;
        EXPECT_GT(wcslen(text), 0u) << key;
    }
    EXPECT_STREQ(table.AppName(), L"Dozara");
}

TEST_P(ShippedTexts, StrungTogetherTextsAreShort) {
    for (const wchar_t* key : kKeys) {
        if (StartsWith(key, L"SHORT_")) {
            EXPECT_LE(Length(key), 2u) << key;
        }
        if (StartsWith(key, L"MIDDLE_") && !StartsWith(key, L"MIDDLE_MONTH_")) {
            EXPECT_GE(Length(key), 2u) << key;
            EXPECT_LE(Length(key), 3u) << key;
        }
    }
}

TEST_P(ShippedTexts, MonthlyDayPhrasesFitTheirBuffers) {
    for (const wchar_t* week : kWeekWords)
        for (const wchar_t* day : kWeekdays)
            EXPECT_LE(Length(week) + 1 + Length(day), kDayPhraseLength) << week << L" " << day;
    for (const wchar_t* last : kLastDays)
        EXPECT_LE(Length(L"DAY_STRING") + 1 + Length(last), kDayPhraseLength) << last;
}

INSTANTIATE_TEST_SUITE_P(TextTable, ShippedTexts,
                         testing::Values(L"[Default]", L"[English]", L"[German]"));

// Each language really has its own section, not a copy of the first one read.
TEST(ShippedTextsSections, GermanDiffersFromEnglish) {
    TextTable english;
    TextTable german;
    ASSERT_TRUE(english.LoadFrom(L"" DZ_SHIPPED_LOCAL_DAT, L"[English]"));
    ASSERT_TRUE(german.LoadFrom(L"" DZ_SHIPPED_LOCAL_DAT, L"[German]"));
    EXPECT_STRNE(english.Lookup(L"BTN_CANCEL"), german.Lookup(L"BTN_CANCEL"));
    EXPECT_STRNE(english.Lookup(L"TUESDAY"), german.Lookup(L"TUESDAY"));
}

} // namespace
