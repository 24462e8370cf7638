// The words that describe an entry: its schedule summary, its monthly day phrase and its
// action phrase. They are built on every draw of a list row, so everything lives in fixed
// buffers on the stack; a text longer than its buffer is cut.
#include "core/model/DZItem.h"
#include "core/model/RunInstant.h"
#include "platform/core/BoundedText.h"
#include "core/text/FiringText.h"
#include "core/text/LocalePictures.h"
#include "core/text/TextKeys.h"
#include "core/text/TextTable.h"

namespace {

constexpr size_t kTimeTextSize = 15;
constexpr size_t kDateTextSize = 30;
// Room for any date or time that a 63-character picture can produce.
constexpr size_t kScratchSize = 260;

// The platform writes nothing useful into a buffer that is too small, so a long result is
// formatted in full on the stack and cut into the text's own buffer.
using FormatFunction = int (*)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int);

void FormatCut(FormatFunction format, const SYSTEMTIME& time, const wchar_t* picture, wchar_t* out,
               size_t size) {
    if (format(0, 0, &time, picture, out, static_cast<int>(size)) > 0) return;
    wchar_t whole[kScratchSize];
    if (format(0, 0, &time, picture, whole, static_cast<int>(kScratchSize)) > 0)
        CopyCut(out, size, whole);
    else
        CopyCut(out, size, L"");
}

int DateFormat(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR picture, LPWSTR out,
               int size) {
    return GetDateFormatW(locale, flags, date, picture, out, size);
}

int TimeFormat(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR picture, LPWSTR out,
               int size) {
    return GetTimeFormatW(locale, flags, time, picture, out, size);
}

// A middle dot for every weekday or month whose bit is clear, its short text where it is set,
// each apart from the next by a thin blank ("M · · T F S S"). Dashes ran together into one line
// in the list's narrow font and the missing days could not be counted; the thin blanks cost
// about 12 pixels of a weekly summary, which leaves it within the row in English and German.
void AddMaskLetters(BoundedText& text, int32_t mask, const wchar_t* const* keys, int count) {
    for (int i = 0; i < count; ++i) {
        if (i > 0) text.Add(L"\u2009");
        text.Add(mask & (1 << i) ? Text(keys[i]) : L"\u00B7");
    }
}

} // namespace

void StorageItem::FormatMonthlyDay(wchar_t* buffer, size_t size) const {
    BoundedText text(buffer, size);
    if (monthlyMode == 0) {
        if (dayOfMonth >= 1)
            text.Number(dayOfMonth);
        else if (dayOfMonth >= -3)
            text.Add(Text(kLastDayKeys[-dayOfMonth]));
        else
            text.Add(L"-/-");
    } else if (monthlyMode == 1) {
        const int weekday = MondayFirstIndex(monthlyWeekday);
        if (weekday < 0) return; // not a weekday: the phrase stays empty
        text.Add(Text(
            kWeekOrdinalKeys[weekIndex >= 0 && weekIndex <= 3 ? weekIndex : kLastWeekOrdinal]));
        text.Add(L" ").Add(Text(kWeekdayKeys[weekday]));
    }
}

void StorageItem::FormatAction(wchar_t* buffer, size_t size) const {
    BoundedText(buffer, size);
}

void StorageItem::FormatSchedule(wchar_t* buffer, size_t size) const {
    BoundedText text(buffer, size);
    // A stored instant that does not convert (a damaged file) shows without time and date.
    SYSTEMTIME time{};
    const bool known = FileTimeToSystemTime(&startTime, &time) != FALSE;
    wchar_t timeText[kTimeTextSize] = {};
    if (known)
        FormatCut(TimeFormat, time,
                  showSeconds ? g_localePictures.timePicture
                              : g_localePictures.timeNoSecondsPicture,
                  timeText, kTimeTextSize);
    wchar_t dateText[kDateTextSize] = {};
    switch (kind) {
    case Weekly:
        text.Add(timeText).Add(L", ").Add(Text(L"WEEKLY_TEXT")).Add(L": ");
        AddMaskLetters(text, weekdayMask, kShortWeekdayKeys, 7);
        break;
    case Once:
        if (known)
            FormatCut(DateFormat, time, g_localePictures.shortDatePicture, dateText, kDateTextSize);
        text.Add(timeText).Add(L", ").Add(dateText).Add(L" ");
        if (known) text.Add(Text(kMiddleWeekdayKeys[time.wDayOfWeek % 7]));
        break;
    case Next24Hours: text.Add(Text(L"NEXT24H_TEXT")).Add(L" ").Add(timeText); break;
    case Monthly: {
        wchar_t dayPart[kDayPhraseSize] = {};
        if (monthlyMode == 0) {
            wchar_t phrase[kDayPhraseSize] = {};
            FormatMonthlyDay(phrase, kDayPhraseSize);
            BoundedText part(dayPart, kDayPhraseSize);
            // The plain last day reads without the day word; days counted back keep it.
            if (dayOfMonth != 0) part.Add(Text(L"DAY_STRING")).Add(L" ");
            part.Add(phrase);
        } else if (monthlyMode == 1) {
            FormatMonthlyDay(dayPart, kDayPhraseSize);
        } else {
            return; // a mode that no editor writes: the summary stays empty
        }
        text.Add(timeText).Add(L", ").Add(dayPart).Add(L", ").Add(Text(L"MONTHLY_SHORT_TEXT"));
        text.Add(L": ");
        AddMaskLetters(text, monthMask, kShortMonthKeys, 12);
        break;
    }
    case Yearly:
        if (known)
            FormatCut(DateFormat, time, g_localePictures.longDateNoWeekdayYearPicture, dateText,
                      kDateTextSize);
        text.Add(timeText).Add(L", ").Add(Text(L"YEARLY_TEXT")).Add(L": ").Add(dateText);
        break;
    default: break; // an unknown kind has no summary
    }
}

void DZItem::FormatAction(wchar_t* buffer, size_t size) const {
    BoundedText text(buffer, size);
    const wchar_t* bluetooth = nullptr;
    switch (action) {
    case PhoneOff:
        text.Add(Text(L"DLG_PHONE_OFF"));
        if (options & kOptionBluetooth) bluetooth = L"DLG_BT_OFF_SHORT";
        break;
    case PhoneOn:
        text.Add(Text(L"DLG_PHONE_ON"));
        // The discoverable bit alone is enough for the discoverable phrase.
        if (options & kOptionDiscoverable)
            bluetooth = L"DLG_BT_DISC_SHORT";
        else if (options & kOptionBluetooth)
            bluetooth = L"DLG_BT_ON_SHORT";
        break;
    case PowerOff: text.Add(Text(L"DLG_POWER_OFF")); break;
    default: text.Add(L"<Error>"); break;
    }
    if (bluetooth) text.Add(L", ").Add(Text(L"DLG_BT_SHORT")).Add(L" ").Add(Text(bluetooth));
}

namespace {

// Blanks become no-break spaces: a line that wraps keeps "10:30 PM" together, and the weekday
// with its date ("Next: Tue 12/28/2027 10:30" once hid its "PM" on a line of its own).
void KeepTogether(wchar_t* text) {
    for (wchar_t* c = text; *c; ++c)
        if (*c == L' ') *c = L'\u00A0';
}

} // namespace

void FormatFiringInstant(const FILETIME& instant, wchar_t* buffer, size_t size) {
    BoundedText text(buffer, size);
    SYSTEMTIME time;
    const FILETIME runs = RunInstant(instant);
    if (!FileTimeToSystemTime(&runs, &time)) return;
    wchar_t dateText[kDateTextSize] = {};
    wchar_t timeText[kTimeTextSize] = {};
    FormatCut(DateFormat, time, g_localePictures.shortDatePicture, dateText, kDateTextSize);
    // Seconds show only where they mean something: most entries fire on the whole minute.
    const bool seconds = time.wSecond != 0 || time.wMilliseconds != 0;
    FormatCut(TimeFormat, time,
              seconds ? g_localePictures.timePicture : g_localePictures.timeNoSecondsPicture,
              timeText, kTimeTextSize);
    KeepTogether(dateText);
    KeepTogether(timeText);
    text.Add(Text(kMiddleWeekdayKeys[time.wDayOfWeek % 7])).Add(L"\u00A0").Add(dateText);
    text.Add(L" ").Add(timeText);
}
