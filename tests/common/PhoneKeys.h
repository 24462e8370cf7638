#pragma once
// The phone's keys for tests, pressed through the real input path. The program (or a dialog)
// runs on the test's main thread exactly as it runs for the user, while a script on a second
// thread presses keys with SendInput, which hands them to the window system as a person's key
// presses arrive: to the foreground window's thread, through its message loop, modal loops and
// hooks. After every key the script waits until the program has handled it (its message queue
// is empty again, timers aside), then reads what the screen shows.
//
//   TEST(Road, ...) {
//       PhoneProgram program;                 // shipped texts and help, no storage.dat,
//       program.Run([](PhoneKeys& keys) {     // the engine's events as a running engine's
//           keys.Press("F1");                 // New: the editor opens
//           EXPECT_EQ(keys.FocusId(), IDC_ACTION_LIST);
//           keys.Press("Right Down Return 2300 F1");
//       });                                   // what the script leaves open is closed
//       EXPECT_EQ(program.StorageBytes(), ...);
//   }
//
// Keys, separated by spaces: F1 F2 (softkeys) Up Down Left Right Return (action key) Escape
// (Back), and digits; a word of digits presses them one by one ("2300").
// Build a test with dz_phone_keys_test (tests/common/CMakeLists.txt): it links the program,
// puts its local.dat and help.html beside the test, sets the en_US locale (12-hour times) and
// runs the test alone, since the keys go to whichever window is in the foreground.
#include <windows.h>

#include <functional>
#include <string>

class PhoneKeys {
  public:
    // Presses the keys one after another, each once the previous one has been handled.
    void Press(const std::string& keys);
    // Waits until the program has handled what is queued.
    void WaitIdle();

    // The window with the keyboard focus, its control id and window class ("ListBox",
    // "Button", "SysDateTimePick32"), and the active top-level window (dialog, message box
    // or main window).
    HWND Focus() const;
    int FocusId() const;
    std::wstring FocusClass() const;
    HWND Active() const;
    // What a control shows: a list box its selected item, a check box "[x] " or "[ ] " and its
    // text, a date or time picker its value as "yyyy-mm-dd hh:mm", others their window text.
    static std::wstring Shown(HWND control);

  private:
    friend void RunWithPhoneKeys(const std::function<void()>&,
                                 const std::function<void(PhoneKeys&)>&);
    DWORD thread = 0; // the thread that runs the program
    HWND probe = nullptr;
    bool AtRest() const;
};

// Runs run() on this thread and script on a second one; afterwards closes what is still open
// (WM_CLOSE to the active window) until run() returns.
void RunWithPhoneKeys(const std::function<void()>& run,
                      const std::function<void(PhoneKeys&)>& script);

// The installed program's files beside the test executable (its program directory): the
// shipped local.dat and help.html are put there by the build; storage.dat starts as given
// (none by default) and the engine counts as running (its ready and refresh events exist).
class PhoneProgram {
  public:
    explicit PhoneProgram(const std::string& storage = {});
    ~PhoneProgram();
    PhoneProgram(const PhoneProgram&) = delete;
    PhoneProgram& operator=(const PhoneProgram&) = delete;

    // The program's main routine, as its entry point runs it, with the script pressing keys.
    // Returns its exit code.
    int Run(const std::function<void(PhoneKeys&)>& script);
    // The bytes of storage.dat now ("" when there is none).
    std::string StorageBytes() const;
    // Whether the program told the engine to refresh since the last call.
    bool TakeRefresh();

  private:
    HANDLE ready;
    HANDLE refresh;
};
