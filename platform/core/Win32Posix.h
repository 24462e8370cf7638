#pragma once
// Native stand-ins for the few Win32 types and calls that the portable core uses: calendar
// conversions, local time, module file name and locale queries. They follow the Win32
// contracts (results, refused dates, day of week) so the same tests pass on both builds.
// Paths use backslashes as on Windows; the file seam turns them into slashes.
#include <cstdint>
#include <cwchar>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int32_t HRESULT;
typedef uint32_t LCID;
typedef uint32_t LCTYPE;
typedef wchar_t WCHAR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPWSTR;
typedef void* HANDLE;
typedef void* HWND;
typedef void* HBITMAP;
typedef void* HINSTANCE;
typedef void* HMODULE;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define MAX_PATH 260
#define S_OK ((HRESULT)0)
#define E_FAIL ((HRESULT)0x80004005L)

#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SENGLANGUAGE 0x00001001
#define LOCALE_SSHORTDATE 0x0000001F
#define LOCALE_SLONGDATE 0x00000020
#define LOCALE_STIMEFORMAT 0x00001003

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;

typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME;

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
void GetLocalTime(SYSTEMTIME* systemTime);
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

// The process's environment: the value's length, 0 when unset (or size too small: then the
// length it needs); setting a null value removes the variable.
DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size);
BOOL SetEnvironmentVariableA(const char* name, const char* value);

// Full path of the running program with backslashes; at most size characters with terminator.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// Ordinal comparison, optionally without regard to letter case for every letter (the
// platform's simple upper-case mapping of each 16-bit unit); CSTR_LESS_THAN, CSTR_EQUAL or
// CSTR_GREATER_THAN. A count of -1 means up to the terminator.
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3
int CompareStringOrdinal(LPCWSTR a, int countA, LPCWSTR b, int countB, BOOL ignoreCase);

// The user's locale follows LANG / LC_ALL as under Wine (en-US, de-DE, fr-FR, ja-JP known).
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size);
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR picture, LPWSTR out,
                   int size);
int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR picture, LPWSTR out,
                   int size);
