#pragma once
// The three action bitmaps, loaded once by the program at start-up; entries only read them.
#include "platform/core/Win32Core.h"

struct ActionBitmaps {
    HBITMAP powerOff = nullptr; // resource 131
    HBITMAP phoneOff = nullptr; // resource 132
    HBITMAP phoneOn = nullptr;  // resource 133
};

extern ActionBitmaps g_actionBitmaps;
