// The five pictures: derived from the user's pictures without weekday, year or seconds, with
// quoted literals kept paired, never empty and never longer than their buffers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Win32Core.h"

#include "LocaleTexts.h"
#include "core/text/LocalePictures.h"

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
        {L"d/M/yy", L"d/M/yy", L"HH:mm", L"HH:mm"},               // no four-digit year, no seconds
        {L"dd.MM.yyyy.", L"dd.MM", L"H'h'mm'm'ss", L"H'h'mm'm'"}, // the minutes keep their label
        {L"yyyy-MM-dd", L"MM-dd", L"HH 'h' mm 'min' ss 's'", L"HH 'h' mm 'min'"},
        {L"yyyy-MM-dd", L"MM-dd", L"HH 'h' mm 'min' ss 's' tt", L"HH 'h' mm 'min' tt"},
        {L"yyyy-MM-dd", L"MM-dd", L"H\x65f6mm\x5206ss\x79d2", L"H\x65f6mm\x5206"},
        {L"d.M.yyyy", L"d.M", L"H:mm:ss '\x0447'.", L"H:mm '\x0447'."},
        {L"d.M.yyyy", L"d.M", L"'Klock' H.mm:ss", L"'Klock' H.mm"},
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

#ifdef _WIN32
// Every time picture the platform knows, formatted at 10:47:39 with and without seconds: the
// derived one shows no seconds and keeps whatever labels the minutes ("47 min").
TEST(LocalePictures, EveryLocaleTimeLosesOnlyItsSeconds) {
    static std::vector<std::wstring> locales;
    EnumSystemLocalesEx(
        [](LPWSTR name, DWORD, LPARAM) -> BOOL {
            locales.push_back(name);
            return TRUE;
        },
        LOCALE_ALL, 0, nullptr);
    ASSERT_GT(locales.size(), 100u);
    const SYSTEMTIME at{2026, 12, 1, 7, 10, 47, 39, 0};
    LocalePictures pictures{};
    for (const std::wstring& locale : locales) {
        wchar_t time[kPictureSize], full[100], noSeconds[100];
        if (!GetLocaleInfoEx(locale.c_str(), LOCALE_STIMEFORMAT, time, kPictureSize)) continue;
        pictures.Derive(L"M/d/yyyy", L"dddd, MMMM d, yyyy", time);
        GetTimeFormatEx(locale.c_str(), 0, &at, time, full, 100);
        GetTimeFormatEx(locale.c_str(), 0, &at, pictures.timeNoSecondsPicture, noSeconds, 100);
        const std::wstring f = full, d = noSeconds;
        const size_t minutes = f.find(L"47"), seconds = f.find(L"39");
        ASSERT_NE(minutes, std::wstring::npos) << locale;
        EXPECT_EQ(d.find(L"39"), std::wstring::npos) << locale << ": " << d;
        // The minutes' label: what follows them up to the seconds, without blanks and marks.
        std::wstring label;
        for (size_t i = minutes + 2; i < seconds; ++i)
            if (!wcschr(L" :.", f[i])) label += f[i];
        const size_t minutesShown = d.find(L"47");
        ASSERT_NE(minutesShown, std::wstring::npos) << locale << ": " << d;
        EXPECT_NE(d.find(label, minutesShown), std::wstring::npos)
            << locale << ": " << time << " -> " << pictures.timeNoSecondsPicture << " " << d;
    }
}
#endif

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
