// Ordinal comparison as the platform does it: each 16-bit unit on its own, folded to upper
// case by the full Unicode simple mapping when case is ignored. The C.UTF-8 locale holds that
// mapping whatever locale the process runs in; where it is missing only A-Z fold.
#include <clocale>
#include <cwctype>

#include "platform/core/Win32Posix.h"

namespace {

locale_t UnicodeCase() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

wchar_t Upper(wchar_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) return c; // half of a pair: no letter by itself
    if (const locale_t locale = UnicodeCase()) return static_cast<wchar_t>(towupper_l(c, locale));
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
}

size_t Length(LPCWSTR text, int count) {
    return count < 0 ? wcslen(text) : static_cast<size_t>(count);
}

} // namespace

int CompareStringOrdinal(LPCWSTR a, int countA, LPCWSTR b, int countB, BOOL ignoreCase) {
    const size_t lengthA = Length(a, countA);
    const size_t lengthB = Length(b, countB);
    for (size_t i = 0; i < lengthA && i < lengthB; ++i) {
        const wchar_t x = ignoreCase ? Upper(a[i]) : a[i];
        const wchar_t y = ignoreCase ? Upper(b[i]) : b[i];
        if (x != y) return x < y ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    if (lengthA == lengthB) return CSTR_EQUAL;
    return lengthA < lengthB ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}
