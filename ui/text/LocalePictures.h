#pragma once
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
