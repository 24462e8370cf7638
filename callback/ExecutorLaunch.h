#pragma once
// How the callback turns an action block into the executor's path and command line: plain
// functions of their inputs, tested without a library or a process.
#include <cstddef>
#include <cstdint>

// The option value passed on: the values the executor knows (kOptionsNone, kOptionsBluetooth,
// kOptionsDiscoverable) as they are, any other value as kOptionsNone.
uint16_t OptionToken(uint16_t options);

// The executor beside the module whose full path is given: its directory, then
// "\DozaraUtil.exe". False when the path has no directory or the result does not fit.
bool ExecutorPathBeside(const wchar_t* modulePath, wchar_t* path, size_t size);

// The executor's command line: the quoted executor path, the action code in decimal and the
// option token. False when it does not fit.
bool BuildExecutorCommandLine(const wchar_t* executorPath, uint16_t action, uint16_t options,
                              wchar_t* commandLine, size_t size);
