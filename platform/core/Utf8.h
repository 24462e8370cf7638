#pragma once
// UTF-8 from and to wide text: native paths, the inspector's output, the engine's journal and
// the install step's files all use these.
#include <cstdint>
#include <string>

// Appends one code point as UTF-8 (one to four bytes); the caller has joined any UTF-16 pair.
void AppendUtf8(std::string& out, uint32_t codePoint);

#ifdef _WIN32
// UTF-16 to UTF-8 and back by the system's conversion.
std::string Utf8(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& utf8);
#endif
