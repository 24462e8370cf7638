// The list as it shows after the program's own painting, compared pixel for pixel with the
// same list painted afresh: whatever the program changed, it also repainted.
#include <gtest/gtest.h>

#include "tests/app/AppHarness.h"
#include "ui/app/AppState.h"
#include "ui/resources/resource.h"

namespace {

class ListPaintTest : public ProgramTest {
  protected:
    void StartWith(int entries) {
        std::vector<EntrySpec> specs;
        for (int i = 0; i < entries; ++i)
            specs.push_back({Weekly, static_cast<ActionCode>(i % 3), 1, 1.0 + i});
        WriteStorage(specs);
        ASSERT_TRUE(Start());
        ASSERT_EQ(RowCount(), entries);
    }
    static bool HasStyle(LONG_PTR style) {
        return (GetWindowLongPtrW(ListWindow(), GWL_STYLE) & style) != 0;
    }
    static void ExpectShownAsRepainted(const char* when) {
        UpdateWindow(ListWindow());
        PumpPending();
        const std::vector<DWORD> shown = ClientPixels(ListWindow());
        EXPECT_TRUE(shown == RepaintedClientPixels(ListWindow())) << when;
        RECT client;
        GetClientRect(ListWindow(), &client);
        EXPECT_EQ(SendMessageW(ListWindow(), LVM_GETCOLUMNWIDTH, 0, 0), client.right) << when;
        EXPECT_FALSE(HasStyle(WS_HSCROLL)) << when;
    }
};

TEST_F(ListPaintTest, StartWithMoreRowsThanFitShowsThemBesideTheScrollBar) {
    StartWith(12);
    EXPECT_TRUE(HasStyle(WS_VSCROLL));
    ExpectShownAsRepainted("after start-up with 12 entries");
}

TEST_F(ListPaintTest, DeletingUntilTheScrollBarGoesShowsEveryRowOnce) {
    StartWith(12);
    ASSERT_TRUE(HasStyle(WS_VSCROLL));
    // From the bottom of the list, scrolled, the last row each time.
    ASSERT_TRUE(g_scheduleList.SelectRow(RowCount() - 1, true));
    while (HasStyle(WS_VSCROLL)) {
        answerer.answers = {IDYES};
        SendMessageW(g_mainWindow, WM_COMMAND, IDM_DELETE, 0);
        ExpectShownAsRepainted("after a delete");
    }
    RECT window;
    GetWindowRect(ListWindow(), &window);
    EXPECT_EQ(RowCount(), (window.bottom - window.top) / g_scheduleList.RowHeight());
}

} // namespace
