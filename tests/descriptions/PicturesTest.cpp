// The five pictures: derived from the user's pictures without weekday, year or seconds, with
// quoted literals kept paired, never empty and never longer than their buffers.
#include <gtest/gtest.h>

#include <string>

#include "LocaleTexts.h"
#include "ui/text/LocalePictures.h"

namespace {

size_t Quotes(const wchar_t* picture) {
    size_t n = 0;
    for (; *picture; ++picture)
        n += *picture == L'\'';
    return n;
}

TEST(LocalePictures, LongDateLosesWeekdayAndYearWithTheirLiterals) {
    const struct {
        const wchar_t* user;
        const wchar_t* derived;
    } cases[] = {
        {L"dddd, MMMM dd, yyyy", L"MMMM dd"},
        {L"dddd, d. MMMM yyyy", L"d. MMMM"},
        {L"dddd d MMMM yyyy", L"d MMMM"},
        {L"ddd, MMM d, yyyy", L"MMM d"},
        {L"yyyy'\x5e74'M'\x6708'd'\x65e5'", L"M'\x6708'd'\x65e5'"},
        {L"yyyy\x5e74M\x6708"
         L"d\x65e5"
         L"dddd",
         L"M\x6708"
         L"d\x65e5"},
        {L"dddd, d' de 'MMMM' de 'yyyy", L"d' de 'MMMM"},
        {L"dddd d 'de' MMMM 'de' yyyy", L"d 'de' MMMM"},
        {L"d MMMM yyyy 'r.'", L"d MMMM"},
        {L"yyyy. MMMM d., dddd", L"MMMM d."},
        {L"gg y'\x5e74'M'\x6708'd'\x65e5'", L"M'\x6708'd'\x65e5'"},
        {L"d 'o''clock' MMMM yyyy", L"d 'o''clock' MMMM"},
        {L"dddd", L"dddd"}, // nothing would be left: the user's picture stays
        {L"yyyy", L"yyyy"},
        {L"dddd, yyyy 'x'", L"dddd, yyyy 'x'"},
    };
    LocalePictures pictures{};
    for (const auto& c : cases) {
        pictures.Derive(L"M/d/yyyy", c.user, L"HH:mm:ss");
        EXPECT_STREQ(pictures.longDateNoWeekdayYearPicture, c.derived);
        EXPECT_EQ(Quotes(pictures.longDateNoWeekdayYearPicture) % 2, 0u);
    }
}

TEST(LocalePictures, ShortDateWithoutYearAndTimeWithoutSeconds) {
    const struct {
        const wchar_t* shortDate;
        const wchar_t* noYear;
        const wchar_t* time;
        const wchar_t* noSeconds;
    } cases[] = {
        {L"M/d/yyyy", L"M/d", L"h:mm:ss tt", L"h:mm tt"},
        {L"dd.MM.yyyy", L"dd.MM", L"HH:mm:ss", L"HH:mm"},
        {L"yyyy/M/d", L"M/d", L"H:mm:ss", L"H:mm"},
        {L"yyyy-MM-dd", L"MM-dd", L"tt h:mm:ss", L"tt h:mm"},
        {L"d/M/yy", L"d/M/yy", L"HH:mm", L"HH:mm"}, // no four-digit year, no seconds
        {L"dd.MM.yyyy.", L"dd.MM", L"H'h'mm'm'ss", L"H'h'mm"},
        {L"yyyy", L"yyyy", L"ss", L"ss"},           // never left empty
        {L"d.M.yyyy 'г.'", L"d.M", L"s:mm", L"mm"}, // a time picture that starts with s
    };
    LocalePictures pictures{};
    for (const auto& c : cases) {
        pictures.Derive(c.shortDate, L"dddd, MMMM d, yyyy", c.time);
        EXPECT_STREQ(pictures.shortDatePicture, c.shortDate);
        EXPECT_STREQ(pictures.shortDateNoYearPicture, c.noYear) << c.shortDate;
        EXPECT_STREQ(pictures.timePicture, c.time);
        EXPECT_STREQ(pictures.timeNoSecondsPicture, c.noSeconds) << c.time;
    }
}

TEST(LocalePictures, OverLongPicturesAreCutToTheirBuffers) {
    const std::wstring longDate = L"dddd, " + std::wstring(100, L'M') + L" yyyy";
    const std::wstring quoted = L"'" + std::wstring(100, L'x');
    const std::wstring time = std::wstring(70, L'H') + L":mm:ss";
    LocalePictures pictures{};
    pictures.Derive(quoted.c_str(), longDate.c_str(), time.c_str());
    for (const wchar_t* p :
         {pictures.longDateNoWeekdayYearPicture, pictures.shortDatePicture,
          pictures.shortDateNoYearPicture, pictures.timePicture, pictures.timeNoSecondsPicture}) {
        EXPECT_LT(wcslen(p), static_cast<size_t>(kPictureSize));
        EXPECT_GT(wcslen(p), 0u);
    }
}

// A picker centres a one-digit value in a field two digits wide: every number field gets two.
TEST(LocalePictures, PickerPicturesHaveNoOneDigitNumberFields) {
    const struct {
        const wchar_t* picture;
        const wchar_t* picker;
    } cases[] = {
        {L"h:mm tt", L"hh:mm tt"},
        {L"M/d/yyyy", L"MM/dd/yyyy"},
        {L"d.M.yyyy", L"dd.MM.yyyy"},
        {L"H:m:s", L"HH:mm:ss"},
        {L"MMMM d", L"MMMM dd"},
        {L"yyyy/M/d", L"yyyy/MM/dd"},
        {L"H'h'mm 'd'", L"HH'h'mm 'd'"}, // quoted letters stay as they are
        {L"HH:mm", L"HH:mm"},
    };
    for (const auto& c : cases) {
        wchar_t picker[2 * kPictureSize];
        PickerPicture(c.picture, picker, 2 * kPictureSize);
        EXPECT_STREQ(picker, c.picker);
    }
    wchar_t small[4];
    PickerPicture(L"h:mm", small, 4);
    EXPECT_STREQ(small, L"hh:");
}

TEST(LocalePictures, PreparedFromTheUserLocale) {
    const LocaleTexts* expected = UserLocaleTexts();
    if (!expected) GTEST_SKIP() << "no expectations for this locale";
    const LocalePictures& p = g_localePictures; // prepared at start-up
    EXPECT_STREQ(p.shortDatePicture, expected->shortDate);
    EXPECT_STREQ(p.shortDateNoYearPicture, expected->shortDateNoYear);
    EXPECT_STREQ(p.longDateNoWeekdayYearPicture, expected->longDateNoWeekdayYear);
    EXPECT_STREQ(p.timePicture, expected->time);
    EXPECT_STREQ(p.timeNoSecondsPicture, expected->timeNoSeconds);
}

} // namespace
