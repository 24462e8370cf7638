// Native locale queries and date/time formatting with the pictures that Wine gives for the
// same LANG, so that descriptions can be tested natively too: the same pictures, day and month
// names and AM/PM markers for English, German, French and Japanese (German's genitive month
// abbreviations after a day are left out).
#include "platform/core/Win32Posix.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

struct LocaleInfo {
    const char* prefix; // of LANG
    const wchar_t* language;
    const wchar_t* shortDate;
    const wchar_t* longDate;
    const wchar_t* time;
    const wchar_t* dayNames[7]; // Sunday first
    const wchar_t* dayAbbreviations[7];
    const wchar_t* monthNames[12];
    const wchar_t* monthAbbreviations[12];
    const wchar_t* am;
    const wchar_t* pm;
};

// What Wine 8 gives for these LANG values (its Japanese long date has no quotes).
const LocaleInfo kLocales[] = {
    {"de",
     L"German",
     L"d.M.yyyy",
     L"dddd, d. MMMM yyyy",
     L"HH:mm:ss",
     {L"Sonntag", L"Montag", L"Dienstag", L"Mittwoch", L"Donnerstag", L"Freitag", L"Samstag"},
     {L"So.", L"Mo.", L"Di.", L"Mi.", L"Do.", L"Fr.", L"Sa."},
     {L"Januar", L"Februar", L"M\x00e4rz", L"April", L"Mai", L"Juni", L"Juli", L"August",
      L"September", L"Oktober", L"November", L"Dezember"},
     {L"Jan", L"Feb", L"M\x00e4r", L"Apr", L"Mai", L"Jun", L"Jul", L"Aug", L"Sep", L"Okt", L"Nov",
      L"Dez"},
     L"AM",
     L"PM"},
    {"fr",
     L"French",
     L"dd/MM/yyyy",
     L"dddd d MMMM yyyy",
     L"HH:mm:ss",
     {L"dimanche", L"lundi", L"mardi", L"mercredi", L"jeudi", L"vendredi", L"samedi"},
     {L"dim.", L"lun.", L"mar.", L"mer.", L"jeu.", L"ven.", L"sam."},
     {L"janvier", L"f\x00e9vrier", L"mars", L"avril", L"mai", L"juin", L"juillet", L"ao\x00fbt",
      L"septembre", L"octobre", L"novembre",
      L"d\x00e9"
      L"cembre"},
     {L"janv.", L"f\x00e9vr.", L"mars", L"avr.", L"mai", L"juin", L"juil.", L"ao\x00fbt", L"sept.",
      L"oct.", L"nov.",
      L"d\x00e9"
      L"c."},
     L"AM",
     L"PM"},
    {"ja",
     L"Japanese",
     L"yyyy/M/d",
     L"yyyy\x5e74M\x6708"
     L"d\x65e5"
     L"dddd",
     L"H:mm:ss",
     {L"\x65e5\x66dc\x65e5", L"\x6708\x66dc\x65e5", L"\x706b\x66dc\x65e5", L"\x6c34\x66dc\x65e5",
      L"\x6728\x66dc\x65e5", L"\x91d1\x66dc\x65e5", L"\x571f\x66dc\x65e5"},
     {L"\x65e5", L"\x6708", L"\x706b", L"\x6c34", L"\x6728", L"\x91d1", L"\x571f"},
     {L"1\x6708", L"2\x6708", L"3\x6708", L"4\x6708", L"5\x6708", L"6\x6708", L"7\x6708",
      L"8\x6708", L"9\x6708", L"10\x6708", L"11\x6708", L"12\x6708"},
     {L"1\x6708", L"2\x6708", L"3\x6708", L"4\x6708", L"5\x6708", L"6\x6708", L"7\x6708",
      L"8\x6708", L"9\x6708", L"10\x6708", L"11\x6708", L"12\x6708"},
     L"\x5348\x524d",
     L"\x5348\x5f8c"},
    {"",
     L"English",
     L"M/d/yyyy",
     L"dddd, MMMM d, yyyy",
     L"h:mm:ss tt",
     {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"},
     {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"},
     {L"January", L"February", L"March", L"April", L"May", L"June", L"July", L"August",
      L"September", L"October", L"November", L"December"},
     {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct", L"Nov",
      L"Dec"},
     L"AM",
     L"PM"},
};

const LocaleInfo& UserLocale() {
    const char* lang = getenv("LC_ALL");
    if (!lang || !*lang) lang = getenv("LANG");
    if (!lang) lang = "";
    for (const LocaleInfo& info : kLocales)
        if (strncmp(lang, info.prefix, strlen(info.prefix)) == 0) return info;
    return kLocales[3];
}

// Appends text to out; returns false once out (size characters with terminator) is full.
struct Writer {
    wchar_t* out;
    int size;
    int used = 0;
    bool ok = true;
    void Put(const wchar_t* text, size_t n) {
        for (size_t i = 0; i < n && ok; ++i) {
            if (size == 0) {
                ++used;
                continue;
            } // size query
            if (used + 1 >= size) {
                ok = false;
                break;
            }
            out[used++] = text[i];
        }
    }
    void Text(const wchar_t* text) { Put(text, wcslen(text)); }
    void Number(int value, int digits) {
        wchar_t buffer[16];
        const int n = swprintf(buffer, 16, L"%0*d", digits, value);
        Put(buffer, static_cast<size_t>(n));
    }
    int Finish() {
        if (!ok) return 0;
        if (size) out[used] = L'\0';
        return used + 1;
    }
};

// One pass over a picture; letters outside the set are literals, 'quoted' text is literal.
int Format(const SYSTEMTIME& t, const wchar_t* picture, const wchar_t* letters, LPWSTR out,
           int size) {
    const LocaleInfo& names = UserLocale();
    Writer w{out, size};
    for (const wchar_t* p = picture; *p && w.ok;) {
        const wchar_t c = *p;
        if (c == L'\'') {
            // Up to the closing quote or the end; two quotes inside stand for one.
            for (++p; *p; ++p) {
                if (*p == L'\'' && p[1] != L'\'') break;
                if (*p == L'\'') ++p;
                w.Put(p, 1);
            }
            if (*p) ++p;
            continue;
        }
        if (!wcschr(letters, c)) {
            w.Put(p++, 1);
            continue;
        }
        int n = 0;
        while (p[n] == c)
            ++n;
        p += n;
        switch (c) {
        case L'd':
            if (n <= 2)
                w.Number(t.wDay, n);
            else
                w.Text(n == 3 ? names.dayAbbreviations[t.wDayOfWeek % 7]
                              : names.dayNames[t.wDayOfWeek % 7]);
            break;
        case L'M':
            if (n <= 2)
                w.Number(t.wMonth, n);
            else
                w.Text(n == 3 ? names.monthAbbreviations[(t.wMonth + 11) % 12]
                              : names.monthNames[(t.wMonth + 11) % 12]);
            break;
        case L'y':
            if (n <= 2)
                w.Number(t.wYear % 100, n);
            else
                w.Number(t.wYear, 4);
            break;
        case L'h': w.Number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, n > 1 ? 2 : 1); break;
        case L'H': w.Number(t.wHour, n > 1 ? 2 : 1); break;
        case L'm': w.Number(t.wMinute, n > 1 ? 2 : 1); break;
        case L's': w.Number(t.wSecond, n > 1 ? 2 : 1); break;
        case L't': {
            const wchar_t* marker = t.wHour < 12 ? names.am : names.pm;
            w.Put(marker, n > 1 ? wcslen(marker) : 1);
            break;
        }
        }
    }
    return w.Finish();
}

int CopyOut(const wchar_t* text, LPWSTR data, int size) {
    const int needed = static_cast<int>(wcslen(text)) + 1;
    if (size == 0) return needed;
    if (needed > size) return 0;
    wmemcpy(data, text, static_cast<size_t>(needed));
    return needed;
}

} // namespace

int GetLocaleInfoW(LCID, LCTYPE type, LPWSTR data, int size) {
    const LocaleInfo& info = UserLocale();
    switch (type) {
    case LOCALE_SENGLANGUAGE: return CopyOut(info.language, data, size);
    case LOCALE_SSHORTDATE: return CopyOut(info.shortDate, data, size);
    case LOCALE_SLONGDATE: return CopyOut(info.longDate, data, size);
    case LOCALE_STIMEFORMAT: return CopyOut(info.time, data, size);
    default: return 0;
    }
}

int GetDateFormatW(LCID, DWORD, const SYSTEMTIME* date, LPCWSTR picture, LPWSTR out, int size) {
    return Format(*date, picture ? picture : UserLocale().shortDate, L"dMy", out, size);
}

int GetTimeFormatW(LCID, DWORD, const SYSTEMTIME* time, LPCWSTR picture, LPWSTR out, int size) {
    return Format(*time, picture ? picture : UserLocale().time, L"hHmst", out, size);
}
