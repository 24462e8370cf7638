// A save never destroys the previous file, and a file that could not be read whole is kept
// aside before it is replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>

#include "TestFiles.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"

#ifdef _WIN32
#include "tests/common/FileHolder.h"
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
        const wchar_t* keptAs; // the ending of the copy kept aside, or none
        Bytes loadedBefore;    // by the same list, before the file changed on disk
    };
    const Bytes header = {0x05, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00};
    Bytes damaged = header;
    damaged.insert(damaged.end(), {1, 0, 0, 0, 9, 9}); // a record cut short
    const Case cases[] = {
        {"refused header", {0x00, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00}, L".refused", {}},
        {"a whole file of the plain entry kind",
         {0x00, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 1, 0,   0,
          0,    0,    0,    0,    0,    0,    0,    0,    0, 127, 1},
         L".refused",
         {}},
        {"damaged tail", damaged, L".damaged", {}},
        {"whole file", header, nullptr, {}},
        {"whole file after a damaged one", header, nullptr, damaged},
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
        ASSERT_EQ(kept.size(), c.keptAs ? 1u : 0u) << c.name;
        if (c.keptAs) {
            const size_t ending = wcslen(c.keptAs);
            EXPECT_EQ(kept[0].compare(kept[0].size() - ending, ending, c.keptAs), 0) << c.name;
            EXPECT_EQ(ReadBytes(own.File(kept[0].c_str())), c.file) << c.name;
        }
        EXPECT_EQ(ReadBytes(own.File(L"storage.dat")).size(), 28u) << c.name;
    }
}

// A file the list must not replace: Save gives false and writes nothing, not even a temporary
// file, and the file stays as it was.
TEST_F(StorageSafety, SaveRefusesWhatItMustNotReplace) {
    struct Case {
        const char* name;
        std::function<void(DZList&, const std::wstring&)> make;
    };
    const Case cases[] = {
        {"read-only file", [](DZList&, const std::wstring& file) { SetWritable(file, false); }},
        {"the program folder was too long for the name",
         [](DZList& l, const std::wstring&) { l.path[0] = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        const std::wstring file = own.File(L"storage.dat");
        DZList l;
        swprintf(l.path, 260, L"%ls", file.c_str());
        l.Append(new DZItem());
        ASSERT_TRUE(l.Save());
        const Bytes before = ReadBytes(file);
        c.make(l, file);
        l.Append(new DZItem());
        EXPECT_FALSE(l.Save());
        EXPECT_EQ(ReadBytes(file), before);
        EXPECT_EQ(own.Names(), std::vector<std::wstring>{L"storage.dat"});
        SetWritable(file, true);
    }
}

// A save that stopped half-way through rewriting the file in place left the whole temporary
// file beside it: the next start takes that one, and keeps the broken file aside.
TEST_F(StorageSafety, StartRecoversFromAWholeTemporaryFile) {
    struct Case {
        const char* name;
        Bytes file, temporary;
        size_t entries;
        bool recovered;
    };
    const Bytes header = {0x05, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00};
    const Bytes record = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 127, 1, 4, 0, 2, 0, 0, 0};
    Bytes one = header, two = header, torn = header;
    one.insert(one.end(), record.begin(), record.end());
    two.insert(two.end(), record.begin(), record.end());
    two.insert(two.end(), record.begin(), record.end());
    torn.insert(torn.end(), record.begin(), record.begin() + 9);
    const Case cases[] = {
        {"damaged file, whole temporary", torn, two, 2, true},
        {"refused file, whole temporary", {0, 0, 0}, one, 1, true},
        {"damaged file, damaged temporary", torn, torn, 0, false},
        {"whole file, whole temporary", one, two, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        DZList l;
        swprintf(l.path, 260, L"%ls", own.File(L"storage.dat").c_str());
        WriteBytes(own.File(L"storage.dat"), c.file);
        WriteBytes(own.File(L"storage.dat.new"), c.temporary);
        l.LoadRecovering();
        EXPECT_EQ(l.LastLoad().entries, static_cast<long>(c.entries));
        EXPECT_EQ(ReadBytes(own.File(L"storage.dat")), c.recovered ? c.temporary : c.file);
        const std::vector<std::wstring> names = own.Names();
        EXPECT_EQ(names.size(), 2u) << "the temporary file or a copy kept aside";
        EXPECT_EQ(std::count(names.begin(), names.end(), L"storage.dat.new"), c.recovered ? 0 : 1);
    }
}

#ifdef _WIN32
// Another process holds "storage.dat" open while the list saves over it: a reader that shares
// writing (as an ordinary open does) makes the replace step fail under Wine, and the file is
// rewritten in place instead; one that does not share writing leaves the old file as it was.
TEST_F(StorageSafety, SaveOverAFileAReaderHoldsOpen) {
    struct Case {
        const char* name;
        DWORD share;
        DWORD holdMs;
        bool saved;
    };
    const Case cases[] = {
        {"a reader that lets go at once", FILE_SHARE_READ, 300, true},
        {"a long reader sharing read and write", FILE_SHARE_READ | FILE_SHARE_WRITE, 20000, true},
        {"a long reader sharing read only", FILE_SHARE_READ, 20000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaveEntries(2);
        const Bytes before = ReadBytes(File(L"storage.dat"));
        FileHolder holder(File(L"storage.dat"), c.share, c.holdMs);
        ASSERT_TRUE(holder.Held());
        list.Append(new DZItem());
        EXPECT_EQ(list.Save(), c.saved);
        holder.Release();
        if (c.saved)
            EXPECT_EQ(ReadBytes(File(L"storage.dat")).size(), 68u);
        else
            EXPECT_EQ(ReadBytes(File(L"storage.dat")), before);
        EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"storage.dat"});
    }
}

// A file held open without sharing while the list loads is unreadable, not missing: it is
// never saved over, and once it can be read its entries come back before those made meanwhile.
TEST_F(StorageSafety, FileHeldWithoutSharingIsReadAgainNotReplaced) {
    SaveEntries(5);
    const Bytes before = ReadBytes(File(L"storage.dat"));
    {
        FileHolder holder(File(L"storage.dat"), 0);
        ASSERT_TRUE(holder.Held());
        EXPECT_FALSE(list.Load());
        EXPECT_EQ(list.LastLoad().state, LoadReport::Unreadable);
        auto* made = new DZItem();
        made->action = PowerOff;
        list.Append(made);
    }
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(ReadBytes(File(L"storage.dat")), before);
    EXPECT_TRUE(list.Reload());
    EXPECT_EQ(list.LastLoad().entries, 5);
    ASSERT_TRUE(list.Save());
    DZList again;
    swprintf(again.path, 260, L"%ls", File(L"storage.dat").c_str());
    again.Load();
    EXPECT_EQ(again.LastLoad().entries, 6);
}
#endif

} // namespace
