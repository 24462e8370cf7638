#pragma once
// The storage inspector: reads a "storage.dat" and prints one line per entry in display order
// (kind and fields, action text, schedule text, next occurrence), or the same as JSON.
//   dzinspect [--json] [--local FILE] [--language NAME] [--at "YYYY-MM-DD HH:MM:SS"]
//             [--upcoming N] STORAGE
// With --upcoming, the next N firings of all entries after the reference instead, as the
// engine makes them. With --history, the file is the executor's history.dat instead, and its
// runs are listed newest first.
#include <cstdio>

// Exit codes: what went wrong, for scripts.
enum InspectorExit {
    kInspectOk = 0,
    kInspectUsage = 1,   // bad command line
    kInspectMissing = 2, // the file cannot be opened
    kInspectRefused = 3, // the header is not one the model accepts
    kInspectDamaged = 4, // the entries before a damaged record are listed
};

int RunInspector(int argc, wchar_t** argv, FILE* out, FILE* err);
