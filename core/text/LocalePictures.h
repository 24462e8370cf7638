#pragma once
#include <cstddef>
// Five date and time pictures derived once from the user's locale, before any reader exists.

constexpr int kPictureSize = 64;

struct LocalePictures {
    wchar_t longDateNoWeekdayYearPicture[kPictureSize];
    wchar_t shortDateNoYearPicture[kPictureSize];
    wchar_t shortDatePicture[kPictureSize];
    wchar_t timePicture[kPictureSize];
    wchar_t timeNoSecondsPicture[kPictureSize];

    void Prepare(); // from the user's locale
    // From the given user pictures (cut to 63 characters); Prepare's pure part.
    void Derive(const wchar_t* shortDate, const wchar_t* longDate, const wchar_t* time);
};

extern LocalePictures g_localePictures;

// The picture for a date or time picker: its one-digit day, month, hour, minute and second
// fields written with two digits ("h:mm tt" becomes "hh:mm tt"). The picker gives every
// number field the width of two digits and centres a one-digit value in it, which showed as
// stray blanks ("5 :37 PM", "12/ 7 /2026"). out holds size characters with the terminator;
// twice the picture's length is always enough.
void PickerPicture(const wchar_t* picture, wchar_t* out, size_t size);
