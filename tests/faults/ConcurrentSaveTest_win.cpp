// The program and the engine on one "storage.dat", with nothing locked between them: one
// process saves a changing list a thousand times and signals a refresh after each save, as
// the program does; another loads the file on every refresh and in between, as the engine
// does. Every load must see a whole header and the whole records of one of the saved lists,
// and no save may wait long for the reader to let go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "../model/TestFiles.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"

namespace {

constexpr int kSaves = 1000;
const wchar_t kRefreshEvent[] = L"DozaraFaultsRefresh";
const wchar_t kSaverDoneEvent[] = L"DozaraFaultsSaverDone";

// Save number v holds 1 + v % 5 entries; each tells v and its own place, and the kinds vary
// so that the records differ in size from save to save.
void FillVersion(DZList& list, int v) {
    list.Clear();
    const int32_t kinds[] = {Weekly, Monthly, Once, Monthly, Next24Hours};
    for (int i = 0; i <= v % 5; ++i) {
        auto* e = new DZItem();
        e->kind = kinds[(v + i) % 5];
        e->startTime = {static_cast<DWORD>(v), static_cast<DWORD>(i)};
        e->action = static_cast<uint16_t>(v);
        e->options = static_cast<uint16_t>(i);
        e->dayOfMonth = v;
        list.Append(e);
    }
}

// The save number whose list this is, or -1 when it is no saved list at all.
int VersionOf(const DZList& list) {
    if (!list.head) return -1;
    const int v = static_cast<int>(list.head->startTime.dwLowDateTime);
    DZList expected;
    FillVersion(expected, v);
    const StorageItem* a = list.head;
    const StorageItem* b = expected.head;
    for (; a && b; a = a->next, b = b->next) {
        const auto& x = static_cast<const DZItem&>(*a);
        const auto& y = static_cast<const DZItem&>(*b);
        if (x.kind != y.kind || x.startTime.dwLowDateTime != y.startTime.dwLowDateTime ||
            x.startTime.dwHighDateTime != y.startTime.dwHighDateTime || x.action != y.action ||
            x.options != y.options || (x.kind == Monthly && x.dayOfMonth != y.dayOfMonth))
            return -1;
    }
    return a || b ? -1 : v;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Child mode: save kSaves lists, signalling a refresh after each successful one. Prints
// "saves failed maxMs totalMs".
int RunSaver(const wchar_t* path) {
    HANDLE refresh = OpenEventW(EVENT_MODIFY_STATE, FALSE, kRefreshEvent);
    HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kSaverDoneEvent);
    DZList list;
    swprintf(list.path, 260, L"%ls", path);
    int failed = 0;
    double maxMs = 0;
    LARGE_INTEGER begin, before, after;
    QueryPerformanceCounter(&begin);
    for (int v = 1; v <= kSaves; ++v) {
        FillVersion(list, v);
        QueryPerformanceCounter(&before);
        const bool saved = list.Save();
        QueryPerformanceCounter(&after);
        maxMs = std::max(maxMs, Milliseconds(before, after));
        if (saved)
            SetEvent(refresh);
        else
            ++failed;
    }
    printf("%d %d %.3f %.3f\n", kSaves, failed, maxMs, Milliseconds(begin, after));
    SetEvent(done);
    return 0;
}

// Child mode: load on every refresh, and at once again when none came within a millisecond,
// until the saver is done. Prints "loads torn missing lastVersion".
int RunReader(const wchar_t* path) {
    HANDLE signals[] = {OpenEventW(SYNCHRONIZE, FALSE, kSaverDoneEvent),
                        OpenEventW(SYNCHRONIZE, FALSE, kRefreshEvent)};
    int loads = 0, torn = 0, missing = 0, last = 0;
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, signals, FALSE, 1);
        DZList list;
        swprintf(list.path, 260, L"%ls", path);
        const bool loaded = list.Load();
        ++loads;
        const LoadReport& report = list.LastLoad();
        if (report.state == LoadReport::Missing) {
            ++missing;
        } else {
            const int v = VersionOf(list);
            if (!loaded || report.state != LoadReport::Whole || v < 0 || v < last)
                ++torn; // a file of no save, or one older than a file already seen
            else
                last = v;
        }
        if (woke == WAIT_OBJECT_0) break;
    }
    printf("%d %d %d %d\n", loads, torn, missing, last);
    return 0;
}

// Child mode for WineDisk.sh: save list number v to path; exit code 0 when Save reported
// success, 1 when it reported failure.
int RunSave(const wchar_t* path, int v) {
    DZList list;
    swprintf(list.path, 260, L"%ls", path);
    // Loaded first, as the program does: a refused file is then kept aside before the save.
    list.Load();
    list.Clear();
    FillVersion(list, v);
    return list.Save() ? 0 : 1;
}

// Runs this test program in a child mode and gives what it printed.
class Child {
  public:
    Child(const wchar_t* mode, const std::wstring& path) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        CreatePipe(&readEnd, &writeEnd, &inherit, 0);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        std::wstring command = L"\"" + std::wstring(self) + L"\" " + mode + L" \"" + path + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = writeEnd;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        started = CreateProcessW(self, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &si, &process) != 0;
        CloseHandle(writeEnd);
    }
    ~Child() {
        if (started) {
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        CloseHandle(readEnd);
    }
    std::string Output() { // waits for the end
        std::string out;
        char buffer[256];
        DWORD n;
        while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
            out.append(buffer, n);
        WaitForSingleObject(process.hProcess, 120000);
        return out;
    }
    bool started = false;

  private:
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    PROCESS_INFORMATION process{};
};

TEST(ConcurrentSave, ReaderNeverSeesATornFileAndSavesWaitBriefly) {
    TempFolder folder;
    const std::wstring path = folder.File(L"storage.dat");
    HANDLE refresh = CreateEventW(nullptr, FALSE, FALSE, kRefreshEvent);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, kSaverDoneEvent);
    {
        DZList first;
        swprintf(first.path, 260, L"%ls", path.c_str());
        FillVersion(first, 0);
        ASSERT_TRUE(first.Save());
    }
    Child reader(L"--reader", path);
    Child saver(L"--saver", path);
    ASSERT_TRUE(reader.started && saver.started);
    const std::string saved = saver.Output();
    const std::string read = reader.Output();
    int saves = 0, failed = -1, loads = 0, torn = -1, missing = -1, last = -1;
    double maxMs = -1, totalMs = -1;
    ASSERT_EQ(sscanf(saved.c_str(), "%d %d %lf %lf", &saves, &failed, &maxMs, &totalMs), 4)
        << saved;
    ASSERT_EQ(sscanf(read.c_str(), "%d %d %d %d", &loads, &torn, &missing, &last), 4) << read;
    printf("[ concurrent ] %d saves in %.0f ms, slowest %.1f ms, %d failed; %d loads, %d torn, "
           "%d without a file, last save seen %d\n",
           saves, totalMs, maxMs, failed, loads, torn, missing, last);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(last, kSaves); // the reader saw the last save after the saver was done
    EXPECT_GT(loads, kSaves / 10);
    EXPECT_LT(maxMs, 1000.0); // a reader holds the file for a moment only
    CloseHandle(refresh);
    CloseHandle(done);
}

} // namespace

int main(int argc, char** argv) {
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    if (wargc == 3 && wcscmp(wargv[1], L"--saver") == 0) return RunSaver(wargv[2]);
    if (wargc == 3 && wcscmp(wargv[1], L"--reader") == 0) return RunReader(wargv[2]);
    if (wargc == 4 && wcscmp(wargv[1], L"--save") == 0) return RunSave(wargv[2], _wtoi(wargv[3]));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
