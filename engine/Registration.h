#pragma once
// Where the engine finds "storage.dat" and DozaraDLL: the program folder named in the
// registration file that the install step writes beside the engine.
//
//   ; written by the install step
//   ProgramFolder=C:\Program Files\Dozara
//
// UTF-8 text, one "name=value" a line; lines starting with ';' or '#' and unknown names are
// ignored. The folder is given without a trailing backslash (one is accepted).
#include <string>

// The folder of the running program file, without a trailing backslash.
std::wstring OwnFolder();

// The program folder from the registration file at path; false when the file is missing or
// names no folder.
bool ReadRegistration(const std::wstring& path, std::wstring& programFolder);
