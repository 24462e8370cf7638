#pragma once
// Wide texts written as UTF-8 on both builds, JSON string quoting, printf-style texts and
// instants as "yyyy-mm-dd hh:mm:ss".
#include <cstdio>
#include <string>

#include "platform/core/Win32Core.h"

// At most 511 characters.
std::wstring Format(const wchar_t* format, ...);
std::wstring Iso(const FILETIME& time);

void WriteUtf8(FILE* file, const std::wstring& text);
std::wstring JsonString(const std::wstring& text);
