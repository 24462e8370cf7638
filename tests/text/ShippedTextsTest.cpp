// The "local.dat" that ships with the program: every language section answers every key the
// program asks for, and the texts that are strung together or put in fixed buffers are short
// enough for them.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "core/text/TextKeys.h"
#include "core/text/TextTable.h"

namespace {

size_t KeyCount() {
    size_t count = 0;
    for (const KeyTable& table : kAllKeyTables)
        count += table.count;
    return count;
}

constexpr size_t kDayPhraseLength = 31; // characters of a monthly day phrase or day part

class ShippedTexts : public testing::TestWithParam<const wchar_t*> {
  protected:
    void SetUp() override { ASSERT_TRUE(table.LoadFrom(L"" DZ_SHIPPED_LOCAL_DAT, GetParam())); }
    size_t Length(const wchar_t* key) const { return wcslen(table.Lookup(key)); }
    TextTable table;
};

TEST_P(ShippedTexts, HoldEveryKeyWithAText) {
    EXPECT_EQ(KeyCount(), 155u) << "every key the program and the executor look up";
    for (const KeyTable& keys : kAllKeyTables)
        for (size_t i = 0; i < keys.count; ++i) {
            const wchar_t* text = table.Lookup(keys.keys[i]);
            EXPECT_STRNE(text, L"<undefined>") << keys.keys[i];
            EXPECT_GT(wcslen(text), 0u) << keys.keys[i];
        }
    EXPECT_STREQ(table.AppName(), L"Dozara");
}

TEST_P(ShippedTexts, StrungTogetherTextsAreShort) {
    for (const KeyTable& keys : {TableOf(kShortWeekdayKeys), TableOf(kShortMonthKeys)})
        for (size_t i = 0; i < keys.count; ++i)
            EXPECT_LE(Length(keys.keys[i]), 2u) << keys.keys[i];
    for (const wchar_t* key : kMiddleWeekdayKeys) {
        EXPECT_GE(Length(key), 2u) << key;
        EXPECT_LE(Length(key), 3u) << key;
    }
}

TEST_P(ShippedTexts, MonthlyDayPhrasesFitTheirBuffers) {
    for (const wchar_t* week : kWeekOrdinalKeys)
        for (const wchar_t* day : kWeekdayKeys)
            EXPECT_LE(Length(week) + 1 + Length(day), kDayPhraseLength) << week << L" " << day;
    for (const wchar_t* last : kLastDayKeys)
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
