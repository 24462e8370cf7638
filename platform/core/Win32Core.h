#pragma once
// The portable core's view of the platform. On Windows it is the real Win32 API; natively the
// same names come from a small implementation of our own (Win32Posix.h and the *_posix.cpp
// files), so the core is written once against Win32.
#ifdef _WIN32
#include <windows.h>
#else
#include "platform/core/Win32Posix.h"
#endif
