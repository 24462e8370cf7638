#pragma once
// The executor's reading of its command line and its Bluetooth rule: plain functions of their
// inputs, so they are tested without starting processes.
#include <windows.h>

// Applies the grammar to the split command line (argument 0 is the program itself):
// kExecutorTooFewArguments, kExecutorUnknownAction, or kExecutorDone with action and option.
int ParseActionArguments(int argc, const wchar_t* const* argv, int& action, long& option);

// 0 for the phone-off action or option 0, else the option itself.
long BluetoothRequest(int action, long option);

// The Bluetooth mode that a request sets; false when the request sets none.
bool BluetoothModeForRequest(long request, DWORD& mode);
