#pragma once
// A template of the tests' own that holds every control of the editor framework, the monthly
// and yearly ones included; its rows keep the action editor's pitch (label to field 9 units,
// row 24 units).
#define IDD_FRAMEWORK_TEST 900
