#pragma once
// What the user's locale gives under LANG for the pictures and for the entry times and dates
// used by the tests: 7 December 2026 08:05:09 (a Monday) and 6 December 2026 (a Sunday).
#include <cwchar>

#include "platform/core/Win32Core.h"

struct LocaleTexts {
    const wchar_t* language; // LOCALE_SENGLANGUAGE
    const wchar_t* shortDate;
    const wchar_t* shortDateNoYear;
    const wchar_t* longDateNoWeekdayYear;
    const wchar_t* time;
    const wchar_t* timeNoSeconds;
    const wchar_t* timeText;            // 08:05:09 without seconds
    const wchar_t* timeWithSecondsText; // 08:05:09
    const wchar_t* sundayDate;          // 6 December 2026, short date
    const wchar_t* sundayYearlyDate;    // 6 December 2026, yearly date
};

// The expectations of the user's language, or none for a language without a table.
inline const LocaleTexts* UserLocaleTexts() {
    static const LocaleTexts kTexts[] = {
        {L"English", L"M/d/yyyy", L"M/d", L"MMMM d", L"h:mm:ss tt", L"h:mm tt", L"8:05 AM",
         L"8:05:09 AM", L"12/6/2026", L"December 6"},
        {L"German", L"d.M.yyyy", L"d.M", L"d. MMMM", L"HH:mm:ss", L"HH:mm", L"08:05", L"08:05:09",
         L"6.12.2026", L"6. Dezember"},
        {L"Japanese", L"yyyy/M/d", L"M/d",
         L"M\x6708"
         L"d\x65e5",
         L"H:mm:ss", L"H:mm", L"8:05", L"8:05:09", L"2026/12/6",
         L"12\x6708"
         L"6\x65e5"},
        {L"French", L"dd/MM/yyyy", L"dd/MM", L"d MMMM", L"HH:mm:ss", L"HH:mm", L"08:05",
         L"08:05:09", L"06/12/2026",
         L"6 d\x00e9"
         L"cembre"},
    };
    wchar_t language[64] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, language, 63);
    for (const LocaleTexts& t : kTexts)
        if (wcscmp(t.language, language) == 0) return &t;
    return nullptr;
}
