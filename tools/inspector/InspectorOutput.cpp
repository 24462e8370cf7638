#include "InspectorOutput.h"

#include <cstdarg>
#include <cwchar>

#include "platform/core/Utf8.h"

void WriteUtf8(FILE* file, const std::wstring& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<uint32_t>(text[i]);
        // UTF-16 pairs (Windows) join into one code point; a lone half becomes U+FFFD.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(bytes, c);
    }
    fwrite(bytes.data(), 1, bytes.size(), file);
}

std::wstring JsonString(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
        case L'"': out += L"\\\""; break;
        case L'\\': out += L"\\\\"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case L'\t': out += L"\\t"; break;
        default:
            if (static_cast<uint32_t>(c) < 0x20) {
                wchar_t escaped[8];
                swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + L"\"";
}

std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[512];
    va_list args;
    va_start(args, format);
    const int n = vswprintf(text, 512, format, args);
    va_end(args);
    return n < 0 ? std::wstring() : std::wstring(text, static_cast<size_t>(n));
}

std::wstring Iso(const FILETIME& time) {
    SYSTEMTIME t;
    if (!FileTimeToSystemTime(&time, &t))
        return Format(L"invalid 0x%08x%08x", time.dwHighDateTime, time.dwLowDateTime);
    return Format(L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
}
