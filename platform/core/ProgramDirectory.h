#pragma once
#include <cstddef>

// The running program's full path cut after its last backslash, which stays; a path without
// a backslash stays whole. buffer holds 260 characters.
void ProgramDirectory(wchar_t* buffer);
