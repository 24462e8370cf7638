#pragma once
// Wide texts written as UTF-8 on both builds, and JSON string quoting.
#include <cstdio>
#include <string>

void WriteUtf8(FILE* file, const std::wstring& text);
std::wstring JsonString(const std::wstring& text);
