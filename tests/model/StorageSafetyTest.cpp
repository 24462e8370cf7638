// A save never destroys the previous file, and a file that could not be read whole is kept
// aside before it is replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>

#include "TestFiles.h"
#include "platform/core/Clock.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/KeptAside.h"

#ifdef _WIN32
#include "tests/common/FileHolder.h"
#endif

namespace {

// count entries, the weekday masks counting up from mask.
void Fill(DZList& list, int count, int mask) {
    list.Clear();
    for (int i = 0; i < count; ++i) {
        auto* e = new DZItem();
        e->weekdayMask = mask + i;
        list.Append(e);
    }
}

bool EndsWith(const std::wstring& name, const wchar_t* ending) {
    const size_t n = wcslen(ending);
    return name.size() >= n && name.compare(name.size() - n, n, ending) == 0;
}

// The files beside "storage.dat": temporary files and copies kept aside.
std::vector<std::wstring> Beside(const TempFolder& folder) {
    std::vector<std::wstring> names;
    for (const std::wstring& n : folder.Names())
        if (n != L"storage.dat") names.push_back(n);
    return names;
}

class StorageSafety : public ::testing::Test {
  protected:
    void SetUp() override { swprintf(list.path, 260, L"%ls", File(L"storage.dat").c_str()); }
    std::wstring File(const wchar_t* name) { return folder.File(name); }
    void SaveEntries(int count) {
        Fill(list, count, 0);
        ASSERT_TRUE(list.Save());
    }
    TempFolder folder;
    DZList list;
};

// A folder where the save's own files go fails every save until the user removes it: the save
// tells which.
TEST_F(StorageSafety, FailedSaveLeavesThePreviousFileWhole) {
    for (const wchar_t* blocker : {L"storage.dat.new", L"storage.dat.ready"}) {
        SaveEntries(3);
        const Bytes before = ReadBytes(File(L"storage.dat"));
        MakeFolder(File(blocker));
        list.Append(new DZItem());
        EXPECT_FALSE(list.Save());
        EXPECT_EQ(ReadBytes(File(L"storage.dat")), before);
        EXPECT_EQ(list.LastSave().state, SaveReport::Blocked);
        EXPECT_EQ(list.LastSave().blockedBy, File(blocker));
        RemoveFolder(File(blocker));
        EXPECT_TRUE(list.Save());
        EXPECT_EQ(list.LastSave().state, SaveReport::Saved);
    }
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
        const std::vector<std::wstring> kept = Beside(own);
        ASSERT_EQ(kept.size(), c.keptAs ? 1u : 0u) << c.name;
        if (c.keptAs) {
            EXPECT_TRUE(EndsWith(kept[0], c.keptAs)) << c.name;
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

// A start finishes a save whose new file was marked whole, whatever the file on disk is, and
// keeps that file aside; a temporary file never marked whole is kept aside and never read.
TEST_F(StorageSafety, StartFinishesOnlyASaveMarkedWhole) {
    struct Case {
        const char* name;
        Bytes file;
        const wchar_t* besideName;
        Bytes beside;
        size_t entries;
        bool finished;
        const wchar_t* keptAs;
    };
    const Bytes header = {0x05, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00};
    const Bytes record = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 127, 1, 4, 0, 2, 0, 0, 0};
    Bytes one = header, two = header, torn = header;
    one.insert(one.end(), record.begin(), record.end());
    two.insert(two.end(), record.begin(), record.end());
    two.insert(two.end(), record.begin(), record.end());
    torn.insert(torn.end(), record.begin(), record.begin() + 9);
    const wchar_t* marked = L"storage.dat.ready";
    const wchar_t* unmarked = L"storage.dat.new";
    const Case cases[] = {
        {"damaged file, marked file", torn, marked, two, 2, true, L".replaced"},
        {"refused file, marked file", {0, 0, 0}, marked, one, 1, true, L".replaced"},
        {"whole file, damaged marked file", one, marked, torn, 1, false, L".unfinished"},
        {"damaged file, unmarked whole file", torn, unmarked, two, 0, false, L".unfinished"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        DZList l;
        swprintf(l.path, 260, L"%ls", own.File(L"storage.dat").c_str());
        WriteBytes(own.File(L"storage.dat"), c.file);
        WriteBytes(own.File(c.besideName), c.beside);
        l.LoadRecovering();
        EXPECT_EQ(l.LastLoad().entries, static_cast<long>(c.entries));
        EXPECT_EQ(l.LastLoad().saveFinished, c.finished);
        EXPECT_EQ(ReadBytes(own.File(L"storage.dat")), c.finished ? c.beside : c.file);
        const std::vector<std::wstring> kept = Beside(own);
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(EndsWith(kept[0], c.keptAs));
        EXPECT_EQ(ReadBytes(own.File(kept[0].c_str())), c.finished ? c.file : c.beside);
    }
}

// A power cut after any write, flush or rename of a save, on both ways of putting the new file
// in place: the next start finds the old list or the new one, whole, and nothing else.
TEST_F(StorageSafety, PowerCutAtAnyStepLeavesTheOldListOrTheNewWhole) {
    struct Case {
        bool inPlace; // the replace was refused, as while another program holds the file
        int cutAfter; // steps: the temporary file written, flushed, marked whole; then the
                      // replace, or in place each 4 KB page, the size, the flush
        bool saved;   // the save went through: the table names every step
        bool newList; // the next start finds the new list
        const wchar_t* keptAs;
    };
    const Case cases[] = {
        {false, 1, false, false, L".unfinished"}, {false, 2, false, false, L".unfinished"},
        {false, 3, false, true, L".replaced"},    {false, 4, false, true, nullptr},
        {false, 5, true, true, nullptr},          {true, 1, false, false, L".unfinished"},
        {true, 2, false, false, L".unfinished"},  {true, 3, false, true, L".replaced"},
        {true, 4, false, true, L".replaced"},     {true, 5, false, true, L".replaced"},
        {true, 6, false, true, L".replaced"},     {true, 7, false, true, L".replaced"},
        {true, 8, true, true, nullptr},
    };
    // Two pages each; the new list is the shorter, so that a rewrite cut after its first page
    // leaves a file that loads whole with 300 entries.
    constexpr int kOld = 300, kNew = 250;
    Fill(list, kNew, 7);
    ASSERT_TRUE(list.Save());
    const Bytes newBytes = ReadBytes(File(L"storage.dat"));
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (c.inPlace ? "in place" : "replace") << ", cut after " << c.cutAfter);
        TempFolder own;
        DZList l;
        swprintf(l.path, 260, L"%ls", own.File(L"storage.dat").c_str());
        Fill(l, kOld, 0);
        ASSERT_TRUE(l.Save());
        const Bytes oldBytes = ReadBytes(own.File(L"storage.dat"));
        Fill(l, kNew, 7);
        PowerCutForTests cut;
        cut.cutAfter = c.cutAfter;
        cut.replaceRefused = c.inPlace;
        SetPowerCutForTests(&cut);
        EXPECT_EQ(l.Save(), c.saved);
        SetPowerCutForTests(nullptr);

        DZList next;
        swprintf(next.path, 260, L"%ls", own.File(L"storage.dat").c_str());
        next.LoadRecovering();
        EXPECT_EQ(next.LastLoad().state, LoadReport::Whole);
        EXPECT_EQ(next.LastLoad().entries, c.newList ? kNew : kOld);
        EXPECT_EQ(ReadBytes(own.File(L"storage.dat")), c.newList ? newBytes : oldBytes);
        const std::vector<std::wstring> kept = Beside(own);
        ASSERT_EQ(kept.size(), c.keptAs ? 1u : 0u);
        if (c.keptAs) EXPECT_TRUE(EndsWith(kept[0], c.keptAs));
    }
}

// Refused files kept aside one after another while the clock stands still, as on a phone whose
// clock goes back to a fixed time after a power loss: no copy replaces another, and only the
// newest copies stay.
TEST_F(StorageSafety, KeptAsideCopiesNeverReplaceEachOther) {
    const FILETIME still = LocalNow();
    for (int i = 0; i < kKeptAsideCopies + 2; ++i) {
        SetLocalNow(still);
        WriteBytes(File(L"storage.dat"), {0, 0, static_cast<unsigned char>(i)});
        list.Load();
        ASSERT_TRUE(list.Save());
    }
    std::vector<Bytes> kept;
    for (const std::wstring& n : Beside(folder))
        kept.push_back(ReadBytes(File(n.c_str())));
    std::sort(kept.begin(), kept.end());
    std::vector<Bytes> newest;
    for (int i = 2; i < kKeptAsideCopies + 2; ++i)
        newest.push_back({0, 0, static_cast<unsigned char>(i)});
    EXPECT_EQ(kept, newest);
}

// "storage.dat" as a symbolic link: a save writes the file the link names, and the link stays.
TEST_F(StorageSafety, SaveThroughALinkWritesTheFileItNames) {
    MakeFolder(File(L"elsewhere"));
    const std::wstring named = File(L"elsewhere\\entries.dat");
    WriteBytes(named, {0x05, 0xCE, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00});
    if (!MakeLink(File(L"storage.dat"), named)) GTEST_SKIP() << "no symbolic links here";
    list.Load();
    Fill(list, 2, 0);
    ASSERT_TRUE(list.Save());
    EXPECT_TRUE(IsLink(File(L"storage.dat")));
    EXPECT_EQ(ReadBytes(named).size(), 48u);
    EXPECT_EQ(Beside(folder), std::vector<std::wstring>{L"elsewhere"});
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
