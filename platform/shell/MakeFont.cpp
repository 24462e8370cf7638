#include "platform/shell/MakeFont.h"

#include <cwchar>

HFONT MakeFont(const wchar_t* faceName, LONG weight, LONG height, bool italic) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    wcsncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}
