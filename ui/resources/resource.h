// Every resource and command id of the program, shared by the .rc files and the code.
#pragma once

// Icon, bitmaps, menus, dialog templates
#define IDI_APP 101
#define IDR_MAIN_MENU 102
#define IDR_EDITOR_MENU 103
#define IDD_ACTION_EDITOR 105
#define IDD_HELP 107
#define IDR_HELP_MENU 130
#define IDB_ACTION_POWER_OFF 131
#define IDB_ACTION_PHONE_OFF 132
#define IDB_ACTION_PHONE_ON 133
#define IDR_POWER_OFF_MENU 134 // the executor's power-off notice

// Main window commands
#define IDM_TOGGLE_ACTIVE 0x8004
#define IDM_EXIT 0x800C
#define IDM_ABOUT 0x800D
#define IDM_HELP 0x800E
#define IDM_NEW 0x8011
#define IDM_DELETE 0x8012
#define IDM_EDIT 0x8013
#define IDM_COMING_UP 0x8015
#define IDM_RUN_NOW 0x8016
#define IDM_LAST_RUNS 0x8017

// The schedule list control
#define IDC_SCHEDULE_LIST 105

// Editor framework controls
#define IDC_STATUS_LIST 2201
#define IDC_OCCURS_LIST 2203
#define IDC_TIME_PICKER 2204
#define IDC_DATE_PICKER 2205
#define IDC_STATUS_SPIN 2301
#define IDC_OCCURS_SPIN 2303
#define IDC_STATUS_LABEL 2401
#define IDC_OCCURS_LABEL 2403
#define IDC_TIME_LABEL 2404
#define IDC_DATE_LABEL 2405
#define IDC_WEEKDAY_FIRST 2501 // 2501-2507: Monday ... Sunday
#define IDC_WEEKDAYS_LABEL 2508
#define IDC_MONTHS_LABEL 2610
#define IDC_MONTH_CHECK_FIRST 2611 // 2611-2622: January ... December
#define IDC_MONTH_NAME_FIRST 2623  // 2623-2634: January ... December
#define IDC_MONTHLY_TYPE_LABEL 2635
#define IDC_MONTHLY_TYPE_LIST 2636
#define IDC_MONTHLY_TYPE_SPIN 2637
#define IDC_MONTH_DAY_LABEL 2638
#define IDC_MONTH_DAY_LIST 2639
#define IDC_MONTH_DAY_SPIN 2640
#define IDC_MONTH_WEEK_LIST 2641
#define IDC_MONTH_WEEK_SPIN 2642
#define IDC_MONTH_WEEKDAY_LIST 2643
#define IDC_MONTH_WEEKDAY_SPIN 2644
#define IDC_YEARLY_DATE_LABEL 2645
#define IDC_YEARLY_DATE_PICKER 2646

// Action editor controls
#define IDC_ACTION_LABEL 1004
#define IDC_ACTION_LIST 2206
#define IDC_ACTION_SPIN 2304
#define IDC_BT_ON_CHECK 2509
#define IDC_BT_OFF_CHECK 2510
#define IDC_BT_DISCOVERABLE_CHECK 2511
#define IDC_OPTIONS_LABEL 2512

// The editor's next-run line, made at run time below the last control
#define IDC_NEXT_RUN_LABEL 2701
