#pragma once

// One run of the executor over its split command line; gives the process exit code.
int RunExecutor(int argc, const wchar_t* const* argv);
