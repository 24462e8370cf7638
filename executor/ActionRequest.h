#pragma once
// The executor's reading of its command line and its Bluetooth rule: plain functions of their
// inputs, so they are tested without starting processes.
#include <windows.h>

#include <string>
#include <vector>

// Splits a command line as the phone does: arguments are separated by blanks or tabs, a pair
// of double quotes groups blanks into one argument and the quotes themselves are dropped; there
// is no other escaping. Argument 0 is the program itself.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);

// Applies the grammar to the split command line (argument 0 is the program itself):
// kExecutorTooFewArguments, kExecutorUnknownAction, or kExecutorDone with action and option.
int ParseActionArguments(int argc, const wchar_t* const* argv, int& action, long& option);

// kOptionsNone for the phone-off action or no options, else the option itself.
long BluetoothRequest(int action, long option);

// The Bluetooth mode that a request sets; false when the request sets none.
bool BluetoothModeForRequest(long request, DWORD& mode);
