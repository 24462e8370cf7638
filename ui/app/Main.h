#pragma once
// Start-up, the engine, and the end of the program.
#include <windows.h>

// The program's main routine: COM, start-up, the message loop; returns the exit code.
int RunProgram(HINSTANCE instance, int showCommand);

bool InitInstance(HINSTANCE instance, int showCommand);
// The main window's class name: text("APP_NAME"), cut to the 255 characters that the window
// system takes for a class name.
constexpr size_t kClassNameSize = 256;
void MainWindowClassName(wchar_t (&name)[kClassNameSize]);
bool StartEngine();
void SignalEngineRefresh();
void LoadImages();
void ReleaseResources();
