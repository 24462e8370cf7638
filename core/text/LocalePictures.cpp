#include "core/text/LocalePictures.h"

#include <cwchar>

#include "platform/core/Win32Core.h"
#include "platform/core/BoundedText.h"

namespace {

const wchar_t kDateLetters[] = L"dMyg";
const wchar_t kTimeLetters[] = L"hHmst";

struct Span {
    size_t begin, end;
};

// One past the quoted literal that starts at p[i]: past its closing quote, or the end of the
// picture when it is never closed. Two quotes inside stand for one.
size_t QuotedEnd(const wchar_t* p, size_t i) {
    for (++i; p[i]; ++i) {
        if (p[i] != L'\'') continue;
        if (p[i + 1] != L'\'') return i + 1;
        ++i;
    }
    return i;
}

bool IsLetter(wchar_t c, const wchar_t* letters) {
    return c && wcschr(letters, c);
}

// The next run of one repeated picture letter at or after from, outside quoted literals;
// empty at the end of the picture when there is none.
Span NextRun(const wchar_t* p, size_t from, const wchar_t* letters) {
    size_t i = from;
    while (p[i]) {
        if (p[i] == L'\'') {
            i = QuotedEnd(p, i);
            continue;
        }
        if (IsLetter(p[i], letters)) {
            size_t end = i;
            while (p[end] == p[i])
                ++end;
            return {i, end};
        }
        ++i;
    }
    return {i, i};
}

// The first run of the letter c with at least minLength letters; empty when there is none.
Span FindRun(const wchar_t* p, wchar_t c, size_t minLength) {
    const wchar_t letter[] = {c, L'\0'};
    for (Span run = NextRun(p, 0, letter); run.begin != run.end; run = NextRun(p, run.end, letter))
        if (run.end - run.begin >= minLength) return run;
    const size_t length = wcslen(p);
    return {length, length};
}

// The literal text (separators and quoted words) that joins a run to the run before it and to
// the run after it.
Span LiteralBefore(const wchar_t* p, Span run, const wchar_t* letters) {
    size_t previousEnd = 0;
    for (Span r = NextRun(p, 0, letters); r.begin < run.begin; r = NextRun(p, r.end, letters))
        previousEnd = r.end;
    return {previousEnd, run.begin};
}

Span LiteralAfter(const wchar_t* p, Span run, const wchar_t* letters) {
    return {run.end, NextRun(p, run.end, letters).begin};
}

bool HasNonBlank(const wchar_t* p, Span s) {
    for (size_t i = s.begin; i < s.end; ++i)
        if (p[i] != L' ') return true;
    return false;
}

void Blank(wchar_t* p, Span s) {
    for (size_t i = s.begin; i < s.end; ++i)
        p[i] = L' ';
}

void Erase(wchar_t* p, Span s) {
    wmemmove(p + s.begin, p + s.end, wcslen(p + s.end) + 1);
}

// Blanks a run together with the literal that ties it into the picture: the one after it
// (a year's word such as "'\x5e74'" or ", "), or, when only blanks follow, the one before it.
// Quoted literals go whole, so quotes stay paired.
void BlankWithItsLiteral(wchar_t* p, Span run, const wchar_t* letters) {
    const Span after = LiteralAfter(p, run, letters);
    const Span before = LiteralBefore(p, run, letters);
    Blank(p, run);
    Blank(p, HasNonBlank(p, after) ? after : before);
}

// The given characters go from both ends.
void Trim(wchar_t* p, const wchar_t* characters) {
    size_t n = wcslen(p);
    while (n > 0 && wcschr(characters, p[n - 1]))
        p[--n] = L'\0';
    size_t start = 0;
    while (p[start] && wcschr(characters, p[start]))
        ++start;
    Erase(p, {0, start});
}

// A derived picture that lost every field would print nothing useful: the user's own picture
// stands in for it.
void KeepOrFallBack(wchar_t* picture, const wchar_t* user, const wchar_t* letters) {
    if (NextRun(picture, 0, letters).begin == wcslen(picture)) CopyCut(picture, kPictureSize, user);
}

// The weekday names and every year and era field go, each with the literal that joins it.
void DeriveLongDate(const wchar_t* user, wchar_t* out) {
    CopyCut(out, kPictureSize, user);
    for (Span day = FindRun(out, L'd', 3); day.begin != day.end; day = FindRun(out, L'd', 3))
        Blank(out, day);
    for (Span year = NextRun(out, 0, L"yg"); year.begin != year.end; year = NextRun(out, 0, L"yg"))
        BlankWithItsLiteral(out, year, kDateLetters);
    Trim(out, L", ");
    KeepOrFallBack(out, user, L"dM");
}

// Only a four-digit year goes (a short picture with "yy" stays as it is), with its separator.
void DeriveShortDateNoYear(const wchar_t* user, wchar_t* out) {
    CopyCut(out, kPictureSize, user);
    const Span year = FindRun(out, L'y', 4);
    if (year.begin == year.end) return;
    BlankWithItsLiteral(out, year, kDateLetters);
    Trim(out, L" /.-");
    KeepOrFallBack(out, user, L"dM");
}

// Whether a literal labels the field before it ("'min'", "\x5206") rather than only
// separating two fields (":", ".", blanks).
bool IsLabel(const wchar_t* p, Span s) {
    for (size_t i = s.begin; i < s.end; ++i)
        if (!wcschr(L" :.,;-/\x00A0", p[i])) return true;
    return false;
}

size_t BlanksBefore(const wchar_t* p, size_t at, size_t from) {
    size_t n = 0;
    while (at - n > from && p[at - n - 1] == L' ')
        ++n;
    return n;
}

// The seconds go with the literal that belongs to them. Between plain fields that is the
// separator before them ("h:mm:ss tt" gives "h:mm tt"). Where the fields carry labels, the
// one before the seconds is the minutes' and stays; the seconds' own follows them
// ("HH 'h' mm 'min' ss 's'" gives "HH 'h' mm 'min'"). Seconds that come first go with what
// follows them.
void DeriveTimeNoSeconds(const wchar_t* user, wchar_t* out) {
    CopyCut(out, kPictureSize, user);
    const Span seconds = NextRun(out, 0, L"s");
    if (seconds.begin == seconds.end) return;
    const Span before = LiteralBefore(out, seconds, kTimeLetters);
    const Span after = LiteralAfter(out, seconds, kTimeLetters);
    const bool fieldBefore = NextRun(out, 0, kTimeLetters).begin < seconds.begin;
    const bool fieldAfter = out[after.end] != L'\0';
    if (fieldBefore && !IsLabel(out, before)) {
        Erase(out, {before.begin, seconds.end});
    } else if (fieldBefore) {
        // The blanks that set the seconds apart go with them; those before the next field stay.
        const size_t kept = fieldAfter ? BlanksBefore(out, after.end, after.begin) : 0;
        Erase(out,
              {seconds.begin - BlanksBefore(out, seconds.begin, before.begin), after.end - kept});
    } else {
        Erase(out, {seconds.begin, after.end});
    }
    KeepOrFallBack(out, user, L"hHm");
}

// The user's picture, or the invariant one when the locale has none that fits 63 characters.
void QueryPicture(LCTYPE type, const wchar_t* fallback, wchar_t* out) {
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, out, kPictureSize - 1) == 0 || !out[0])
        CopyCut(out, kPictureSize, fallback);
}

} // namespace

void LocalePictures::Derive(const wchar_t* shortDate, const wchar_t* longDate,
                            const wchar_t* time) {
    DeriveLongDate(longDate, longDateNoWeekdayYearPicture);
    CopyCut(shortDatePicture, kPictureSize, shortDate);
    DeriveShortDateNoYear(shortDate, shortDateNoYearPicture);
    CopyCut(timePicture, kPictureSize, time);
    DeriveTimeNoSeconds(time, timeNoSecondsPicture);
}

void LocalePictures::Prepare() {
    wchar_t shortDate[kPictureSize], longDate[kPictureSize], time[kPictureSize];
    QueryPicture(LOCALE_SSHORTDATE, L"MM/dd/yyyy", shortDate);
    QueryPicture(LOCALE_SLONGDATE, L"dddd, dd MMMM yyyy", longDate);
    QueryPicture(LOCALE_STIMEFORMAT, L"HH:mm:ss", time);
    Derive(shortDate, longDate, time);
}

namespace {
LocalePictures FromUserLocale() {
    LocalePictures pictures;
    pictures.Prepare();
    return pictures;
}
} // namespace

// Prepared while the program starts, before any text is formatted.
LocalePictures g_localePictures = FromUserLocale();

void PickerPicture(const wchar_t* picture, wchar_t* out, size_t size) {
    if (size == 0) return;
    const wchar_t numberLetters[] = L"dMhHms";
    size_t n = 0;
    auto put = [&](wchar_t c) {
        if (n + 1 < size) out[n++] = c;
    };
    size_t i = 0;
    for (Span run = NextRun(picture, 0, numberLetters); run.begin != run.end;
         run = NextRun(picture, run.end, numberLetters)) {
        for (; i < run.end; ++i)
            put(picture[i]);
        if (run.end - run.begin == 1) put(picture[run.begin]);
    }
    for (; picture[i]; ++i)
        put(picture[i]);
    out[n] = L'\0';
}
