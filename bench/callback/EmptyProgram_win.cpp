// The baseline of the callback's round trip: a windowed-subsystem program, like the executor,
// that does nothing and ends with 0.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
