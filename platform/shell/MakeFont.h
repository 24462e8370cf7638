#pragma once
#include <windows.h>

// A variable-pitch font of the given face, weight, height (pixels) and slant; the list and the
// entry editor make their fonts with it. The caller deletes it.
HFONT MakeFont(const wchar_t* faceName, LONG weight, LONG height, bool italic);
