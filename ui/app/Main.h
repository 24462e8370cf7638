#pragma once
// Start-up, the engine, and the end of the program.
#include <windows.h>

// The program's main routine: COM, start-up, the message loop; returns the exit code.
int RunProgram(HINSTANCE instance, int showCommand);

bool InitInstance(HINSTANCE instance, int showCommand);
bool StartEngine();
void SignalEngineRefresh();
void LoadImages();
void ReleaseResources();
