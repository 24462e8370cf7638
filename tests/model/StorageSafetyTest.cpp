// A save never destroys the previous file, and a file that could not be read whole is kept
// aside before it is replaced.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"
#include "ui/model/DZItem.h"
#include "ui/model/DZList.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

class StorageSafety : public ::testing::Test {
  protected:
    void SetUp() override { swprintf(list.path, 260, L"%ls", File(L"storage.dat").c_str()); }
    std::wstring File(const wchar_t* name) { return folder.File(name); }
    void SaveEntries(int count) {
        list.Clear();
        for (int i = 0; i < count; ++i) {
            auto* e = new DZItem();
            e->weekdayMask = i;
            list.Append(e);
        }
        ASSERT_TRUE(list.Save());
    }
    std::vector<std::wstring> KeptAside() {
        std::vector<std::wstring> kept;
        for (const std::wstring& n : folder.Names())
            if (n.size() > 8 && n.compare(n.size() - 8, 8, L".damaged") == 0) kept.push_back(n);
        return kept;
    }
    TempFolder folder;
    DZList list;
};

TEST_F(StorageSafety, FailedSaveLeavesThePreviousFileWhole) {
    SaveEntries(3);
    const Bytes before = ReadBytes(File(L"storage.dat"));
    // The temporary file cannot be made: a folder stands where it would go.
    MakeFolder(File(L"storage.dat.new"));
    list.Append(new DZItem());
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(ReadBytes(File(L"storage.dat")), before);
}

TEST_F(StorageSafety, SaveIntoAMissingFolderFails) {
    swprintf(list.path, 260, L"%ls", File(L"no-such-folder\\storage.dat").c_str());
    list.Append(new DZItem());
    EXPECT_FALSE(list.Save());
}

TEST_F(StorageSafety, SuccessfulSaveLeavesNoTemporaryFile) {
    SaveEntries(2);
    SaveEntries(1);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"storage.dat"});
}

TEST_F(StorageSafety, UnreadableFilesAreKeptAsideOnceBeforeTheFirstSave) {
    struct Case {
        const char* name;
        Bytes file;
        bool keptAside;
        Bytes loadedBefore; // by the same list, before the file changed on disk
    };
    const Bytes header = {0x05, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00};
    Bytes damaged = header;
    damaged.insert(damaged.end(), {1, 0, 0, 0, 9, 9}); // a record cut short
    const Case cases[] = {
        {"refused header", {0x00, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00}, true, {}},
        {"damaged tail", damaged, true, {}},
        {"whole file", header, false, {}},
        {"whole file after a damaged one", header, false, damaged},
    };
    for (const Case& c : cases) {
        TempFolder own;
        DZList l;
        swprintf(l.path, 260, L"%ls", own.File(L"storage.dat").c_str());
        if (!c.loadedBefore.empty()) {
            WriteBytes(own.File(L"storage.dat"), c.loadedBefore);
            l.Load();
        }
        WriteBytes(own.File(L"storage.dat"), c.file);
        l.Load();
        l.Append(new DZItem());
        ASSERT_TRUE(l.Save()) << c.name;
        ASSERT_TRUE(l.Save()) << c.name; // the second save keeps nothing more
        std::vector<std::wstring> kept;
        for (const std::wstring& n : own.Names())
            if (n != L"storage.dat") kept.push_back(n);
        ASSERT_EQ(kept.size(), c.keptAside ? 1u : 0u) << c.name;
        if (c.keptAside) {
            EXPECT_EQ(ReadBytes(own.File(kept[0].c_str())), c.file) << c.name;
        }
        EXPECT_EQ(ReadBytes(own.File(L"storage.dat")).size(), 28u) << c.name;
    }
}

#ifdef _WIN32
// Another process holds "storage.dat" open, as the engine does while it reads it.
class FileHolder {
  public:
    FileHolder(const std::wstring& path, int milliseconds) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) + L"\" --hold-file \"" + path + L"\" " +
                               std::to_wstring(milliseconds);
        ready = CreateEventW(nullptr, TRUE, FALSE, L"DozaraTestFileHeld");
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started = CreateProcessW(self, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &process) != 0;
        if (started) WaitForSingleObject(ready, 10000);
    }
    ~FileHolder() {
        if (started) {
            WaitForSingleObject(process.hProcess, 20000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        CloseHandle(ready);
    }
    bool started = false;

  private:
    HANDLE ready;
    PROCESS_INFORMATION process{};
};

TEST_F(StorageSafety, SaveWaitsBrieflyForAReaderToLetGo) {
    SaveEntries(1);
    FileHolder holder(File(L"storage.dat"), 300);
    ASSERT_TRUE(holder.started);
    list.Append(new DZItem());
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(ReadBytes(File(L"storage.dat")).size(), 48u);
}

TEST_F(StorageSafety, SaveGivesUpOnAFileHeldOpenTooLongAndKeepsTheOldOne) {
    SaveEntries(2);
    const Bytes before = ReadBytes(File(L"storage.dat"));
    FileHolder holder(File(L"storage.dat"), 4000);
    ASSERT_TRUE(holder.started);
    list.Append(new DZItem());
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(ReadBytes(File(L"storage.dat")), before);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"storage.dat"});
}

// Child mode: open the file, tell the parent, hold it, close it.
int HoldFile(const wchar_t* path, int milliseconds) {
    FILE* f = _wfopen(path, L"rb");
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"DozaraTestFileHeld");
    if (ready) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    Sleep(static_cast<DWORD>(milliseconds));
    if (f) fclose(f);
    return f ? 0 : 1;
}
#endif

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    if (wargc == 4 && wcscmp(wargv[1], L"--hold-file") == 0)
        return HoldFile(wargv[2], _wtoi(wargv[3]));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
