// Stands in for DozaraUtil in the engine's tests: an executor that does not end until the test
// releases it (at most 30 s), so that a firing hangs in its callback.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"DozaraTestReleaseExecutors");
    WaitForSingleObject(release, 30000);
    return 0;
}
