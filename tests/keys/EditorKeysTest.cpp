// The editor used with the phone's keys alone, pressed into the running program.
#include <gtest/gtest.h>

#include "tests/common/PhoneKeys.h"
#include "ui/resources/resource.h"

TEST(EditorKeys, NewOpensTheEditorOnItsFirstControlAndBackLeavesNoFile) {
    PhoneProgram program;
    program.Run([](PhoneKeys& keys) {
        keys.Press("F1");
        HWND editor = keys.Active();
        EXPECT_EQ(keys.FocusId(), IDC_ACTION_LIST);
        keys.Press("Escape");
        EXPECT_FALSE(IsWindow(editor));
    });
    EXPECT_EQ(program.StorageBytes(), "");
    EXPECT_FALSE(program.TakeRefresh());
}
