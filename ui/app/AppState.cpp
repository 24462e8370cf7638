#include "ui/app/AppState.h"

HINSTANCE g_instance = nullptr;
EntryScreen g_entryScreen;
DZList g_entryList;
ListViewEx g_scheduleList;
HWND g_mainWindow = nullptr;
HWND g_menuBar = nullptr;
HMENU g_menu = nullptr;
HICON g_appIcon = nullptr;
std::vector<RunRecord> g_runHistory;
