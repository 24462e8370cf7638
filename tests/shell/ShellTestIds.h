#pragma once
// Resources of the shell tests.
#define IDR_TEST_MAIN_MENU 200
#define IDR_TEST_ONE_KEY_MENU 201
#define IDR_TEST_TWO_KEY_MENU 202
#define IDD_TEST_DIALOG 300
#define IDD_TEST_LABEL_DIALOG 301

#define IDM_TEST_NEW 1001
#define IDM_TEST_DELETE 1002
#define IDM_TEST_TOGGLE 1003
#define IDM_TEST_EXIT 1004
