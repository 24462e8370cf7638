#pragma once
// A firing instant in words, as the coming-up screen, the editor's next-run line and the clash
// question show it: at the instant the engine really runs it (RunInstant), the weekday, the date
// in the locale's short picture and the time in the locale's time picture, without its seconds
// on a whole minute ("Thu 12/10/2026 7:00 AM"). Only the blank between the date and the time
// may break a line: the weekday stays with its date and the time with its AM/PM. Cut to the
// buffer.
#include <cstddef>

#include "platform/core/Win32Core.h"

void FormatFiringInstant(const FILETIME& instant, wchar_t* buffer, size_t size);
