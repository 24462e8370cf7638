#pragma once
// Texts built into fixed buffers: whatever does not fit is cut, the result is always terminated.
#include <cstddef>

// Writes prefix, one blank and text into buffer (size characters); without a prefix the text
// alone.
void JoinTexts(wchar_t* buffer, size_t size, const wchar_t* prefix, const wchar_t* text);

// Appends text to the terminated contents of buffer; returns false when it had to be cut.
bool AppendText(wchar_t* buffer, size_t size, const wchar_t* text);
