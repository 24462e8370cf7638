// Native locale queries and date/time formatting with the pictures that Wine gives for the
// same LANG, so that descriptions can be tested natively too. Names are English in every
// locale here; the Windows build uses the platform's own.
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
};

const LocaleInfo kLocales[] = {
    {"de", L"German", L"dd.MM.yyyy", L"dddd, d. MMMM yyyy", L"HH:mm:ss"},
    {"fr", L"French", L"dd/MM/yyyy", L"dddd d MMMM yyyy", L"HH:mm:ss"},
    {"ja", L"Japanese", L"yyyy/MM/dd", L"yyyy'\x5e74'M'\x6708'd'\x65e5'", L"H:mm:ss"},
    {"", L"English", L"M/d/yyyy", L"dddd, MMMM d, yyyy", L"h:mm:ss tt"},
};

const LocaleInfo& UserLocale() {
    const char* lang = getenv("LC_ALL");
    if (!lang || !*lang) lang = getenv("LANG");
    if (!lang) lang = "";
    for (const LocaleInfo& info : kLocales)
        if (strncmp(lang, info.prefix, strlen(info.prefix)) == 0) return info;
    return kLocales[3];
}

const wchar_t* const kDayNames[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                    L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const kMonthNames[] = {L"January", L"February", L"March",     L"April",
                                      L"May",     L"June",     L"July",      L"August",
                                      L"September", L"October", L"November", L"December"};

// Appends text to out; returns false once out (size characters with terminator) is full.
struct Writer {
    wchar_t* out;
    int size;
    int used = 0;
    bool ok = true;
    void Put(const wchar_t* text, size_t n) {
        for (size_t i = 0; i < n && ok; ++i) {
            if (size == 0) { ++used; continue; } // size query
            if (used + 1 >= size) { ok = false; break; }
            out[used++] = text[i];
        }
    }
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
    Writer w{out, size};
    for (const wchar_t* p = picture; *p && w.ok;) {
        const wchar_t c = *p;
        if (c == L'\'') {
            const wchar_t* end = wcschr(p + 1, L'\'');
            if (!end) end = p + wcslen(p);
            w.Put(p + 1, static_cast<size_t>(end - p - 1));
            p = *end ? end + 1 : end;
            continue;
        }
        if (!wcschr(letters, c)) {
            w.Put(p++, 1);
            continue;
        }
        int n = 0;
        while (p[n] == c) ++n;
        p += n;
        switch (c) {
        case L'd':
            if (n <= 2) w.Number(t.wDay, n);
            else if (n == 3) w.Put(kDayNames[t.wDayOfWeek % 7], 3);
            else w.Put(kDayNames[t.wDayOfWeek % 7], wcslen(kDayNames[t.wDayOfWeek % 7]));
            break;
        case L'M': {
            const wchar_t* name = kMonthNames[(t.wMonth + 11) % 12];
            if (n <= 2) w.Number(t.wMonth, n);
            else w.Put(name, n == 3 ? 3 : wcslen(name));
            break;
        }
        case L'y':
            if (n <= 2) w.Number(t.wYear % 100, n);
            else w.Number(t.wYear, 4);
            break;
        case L'h': w.Number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, n > 1 ? 2 : 1); break;
        case L'H': w.Number(t.wHour, n > 1 ? 2 : 1); break;
        case L'm': w.Number(t.wMinute, n > 1 ? 2 : 1); break;
        case L's': w.Number(t.wSecond, n > 1 ? 2 : 1); break;
        case L't': w.Put(t.wHour < 12 ? L"AM" : L"PM", n > 1 ? 2 : 1); break;
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
