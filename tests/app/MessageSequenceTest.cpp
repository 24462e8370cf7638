// Where the order of messages is the behaviour: the main window's messages recorded by hooks
// of this thread (sent ones as they are sent, posted ones as they are taken from the queue)
// and compared with a table, entries marked optional where the control may or may not send
// them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/app/AppHarness.h"
#include "ui/app/AppState.h"
#include "core/model/EntryEditor.h"
#include "ui/resources/resource.h"

namespace {

enum Flags { kSent = 1, kPosted = 2, kOptional = 4 };

struct Message {
    UINT message;
    UINT detail; // WM_COMMAND's id, WM_NOTIFY's code, the control id of the others
    int row;     // LVN_ITEMCHANGED's row; -1 elsewhere, or in a table: any row
    int flags;
};

std::vector<Message> g_seen;

bool Interesting(UINT message, WPARAM wParam, LPARAM lParam, Message* seen) {
    seen->message = message;
    seen->row = -1;
    switch (message) {
    case WM_COMMAND: seen->detail = LOWORD(wParam); return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        seen->detail = header->code;
        if (header->code == LVN_ITEMCHANGED)
            seen->row = reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem;
        return header->code == LVN_ITEMACTIVATE || header->code == LVN_ITEMCHANGED;
    }
    case WM_MEASUREITEM:
        seen->detail = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID;
        return true;
    case WM_NOTIFYFORMAT:
        seen->detail = static_cast<UINT>(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)));
        return lParam == NF_QUERY;
    case WM_PARENTNOTIFY: seen->detail = HIWORD(wParam); return LOWORD(wParam) == WM_CREATE;
    }
    return false;
}

void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int flags) {
    Message seen{};
    if (!window || window != g_mainWindow || !Interesting(message, wParam, lParam, &seen)) return;
    seen.flags = flags;
    g_seen.push_back(seen);
}

LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        Record(sent->hwnd, sent->message, sent->wParam, sent->lParam, kSent);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK PostedHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto* posted = reinterpret_cast<const MSG*>(lParam);
        Record(posted->hwnd, posted->message, posted->wParam, posted->lParam, kPosted);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Records from its construction on; Take hands over what was seen and starts afresh.
class Recorder {
  public:
    Recorder()
        : sent(SetWindowsHookExW(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId())),
          posted(SetWindowsHookExW(WH_GETMESSAGE, PostedHook, nullptr, GetCurrentThreadId())) {
        g_seen.clear();
    }
    ~Recorder() {
        UnhookWindowsHookEx(sent);
        UnhookWindowsHookEx(posted);
    }
    std::vector<Message> Take() { return std::move(g_seen); }
    bool Installed() const { return sent && posted; }

  private:
    HHOOK sent;
    HHOOK posted;
};

std::string Describe(const std::vector<Message>& messages) {
    std::string text;
    for (const Message& m : messages) {
        char one[80];
        snprintf(one, sizeof one, "{0x%04X %d row %d %s} ", m.message, static_cast<int>(m.detail),
                 m.row, m.flags & kPosted ? "posted" : "sent");
        text += one;
    }
    return text;
}

bool Matches(const Message& expected, const Message& seen) {
    return expected.message == seen.message && expected.detail == seen.detail &&
           (expected.row < 0 || expected.row == seen.row) &&
           (expected.flags & (kSent | kPosted)) == seen.flags;
}

// The seen messages must be the table's, in its order; an optional entry may be missing.
void ExpectSequence(const std::vector<Message>& expected, const std::vector<Message>& seen) {
    size_t next = 0;
    for (const Message& want : expected) {
        if (next < seen.size() && Matches(want, seen[next]))
            ++next;
        else
            EXPECT_TRUE(want.flags & kOptional)
                << "missing 0x" << std::hex << want.message << " " << std::dec
                << static_cast<int>(want.detail) << " in " << Describe(seen);
    }
    EXPECT_EQ(next, seen.size()) << "unexpected messages in " << Describe(seen);
}

EntryEditor* MakeCancellingEditor(uint16_t, uint32_t, int32_t) {
    struct Cancelling : EntryEditor {
        int RunModal(HWND, StorageItem*) override { return kEditCanceled; }
    };
    return new Cancelling;
}

class MessageSequenceTest : public ProgramTest {};

// The parent learns the row height while the control is being made, before CreateWindowEx
// returns: the subclass must already be in place, or the rows would get the default height.
TEST_F(MessageSequenceTest, TheListAsksItsRowHeightWhileItIsCreated) {
    WriteStorage({{Weekly, PhoneOff, 1, 1.0}});
    Recorder recorder;
    ASSERT_TRUE(recorder.Installed());
    ASSERT_TRUE(Start());
    ExpectSequence({{WM_NOTIFYFORMAT, IDC_SCHEDULE_LIST, -1, kSent | kOptional},
                    {WM_MEASUREITEM, IDC_SCHEDULE_LIST, -1, kSent},
                    {WM_PARENTNOTIFY, IDC_SCHEDULE_LIST, -1, kSent | kOptional},
                    {WM_NOTIFY, LVN_ITEMCHANGED, 0, kSent | kOptional}},
                   recorder.Take());
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(ListWindow(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    EXPECT_EQ(row.bottom - row.top, g_scheduleList.RowHeight());
}

// Activating a row edits its entry before the activation's notification returns.
TEST_F(MessageSequenceTest, ItemActivationSendsTheEditCommand) {
    WriteStorage({{Weekly, PhoneOff, 1, 1.0}});
    ASSERT_TRUE(Start());
    g_entryScreen.actionEditor = MakeCancellingEditor;
    Recorder recorder;
    SendMessageW(ListWindow(), WM_KEYDOWN, VK_RETURN, 1);
    PumpPending();
    ExpectSequence({{WM_NOTIFY, LVN_ITEMACTIVATE, -1, kSent}, {WM_COMMAND, IDM_EDIT, -1, kSent}},
                   recorder.Take());
}

// A new selection is told to the parent and nothing more: the menu works out its items from
// the selection when it opens.
TEST_F(MessageSequenceTest, TheMenuReadsTheSelectionWhenItOpens) {
    WriteStorage({{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 0, 2.0}});
    ASSERT_TRUE(Start());
    ASSERT_EQ(SelectedRow(), 0);
    const std::wstring activeCaption = MenuCaption(IDM_TOGGLE_ACTIVE);
    Recorder recorder;
    ASSERT_TRUE(g_scheduleList.SelectRow(1, false));
    PumpPending();
    ExpectSequence({{WM_NOTIFY, LVN_ITEMCHANGED, 0, kSent | kOptional},
                    {WM_NOTIFY, LVN_ITEMCHANGED, 0, kSent | kOptional},
                    {WM_NOTIFY, LVN_ITEMCHANGED, 1, kSent}},
                   recorder.Take());
    EXPECT_NE(MenuCaption(IDM_TOGGLE_ACTIVE), activeCaption);
}

} // namespace
