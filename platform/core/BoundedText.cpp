#include "platform/core/BoundedText.h"

#include <cwchar>

namespace {
bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
} // namespace

BoundedText::BoundedText(wchar_t* buffer, size_t size) : buffer(buffer), size(size) {
    if (size) buffer[0] = L'\0';
}

BoundedText& BoundedText::Add(const wchar_t* text) {
    return AddAtMost(text, static_cast<size_t>(-1));
}

BoundedText& BoundedText::AddAtMost(const wchar_t* text, size_t count) {
    if (size == 0 || cut) return *this;
    for (; count > 0 && *text; ++text, --count) {
        if (used + 1 >= size) {
            // Never leave half of a surrogate pair at the cut.
            if (used > 0 && IsHighSurrogate(buffer[used - 1])) --used;
            cut = true;
            break;
        }
        buffer[used++] = *text;
    }
    buffer[used] = L'\0';
    return *this;
}

BoundedText& BoundedText::Number(int value) {
    wchar_t digits[16];
    size_t n = sizeof digits / sizeof digits[0];
    digits[--n] = L'\0';
    // Work with the magnitude as unsigned so that the lowest int has one too.
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[--n] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) digits[--n] = L'-';
    return Add(digits + n);
}

BoundedText& BoundedText::AddWithNumber(const wchar_t* format, int value) {
    const wchar_t* directive = wcsstr(format, L"%d");
    if (!directive) return Add(format);
    return AddAtMost(format, static_cast<size_t>(directive - format))
        .Number(value)
        .Add(directive + 2);
}

void CopyCut(wchar_t* buffer, size_t size, const wchar_t* text) {
    BoundedText(buffer, size).Add(text);
}
