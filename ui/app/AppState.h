#pragma once
// The program's process-wide state, one of each, from start-up to exit. The text table lives
// in core/text (g_textTable).
#include <windows.h>

#include "ui/app/ScheduleList.h"
#include "core/model/DZList.h"
#include "core/model/RunHistory.h"

#include <vector>

extern HINSTANCE g_instance;
extern EntryScreen g_entryScreen; // the bitmaps and editors that g_entryList's entries show
extern DZList g_entryList;        // owns every entry
extern ListViewEx g_scheduleList; // its rows point at g_entryList's entries
extern HWND g_mainWindow;
extern HWND g_menuBar; // the softkey bar; destroyed on WM_DESTROY
extern HMENU g_menu;   // the bar's menu, for the item states and captions
extern HICON g_appIcon;
extern std::vector<RunRecord> g_runHistory; // the executor's runs, newest first
