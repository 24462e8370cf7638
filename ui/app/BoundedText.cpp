#include "ui/app/BoundedText.h"

#include <cwchar>

bool AppendText(wchar_t* buffer, size_t size, const wchar_t* text) {
    if (size == 0) return false;
    size_t used = wcsnlen(buffer, size);
    if (used == size) { // not terminated: make it so and treat it as full
        buffer[size - 1] = L'\0';
        return false;
    }
    while (*text && used + 1 < size)
        buffer[used++] = *text++;
    buffer[used] = L'\0';
    return *text == L'\0';
}

void JoinTexts(wchar_t* buffer, size_t size, const wchar_t* prefix, const wchar_t* text) {
    if (size == 0) return;
    buffer[0] = L'\0';
    if (prefix) {
        AppendText(buffer, size, prefix);
        AppendText(buffer, size, L" ");
    }
    AppendText(buffer, size, text);
}
