// A save that fails at any byte of the new file — a file size limit, a full disk — reports
// false, leaves the previous "storage.dat" whole and no temporary file behind, and the list
// in memory still saves once there is room again.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/mount.h>
#include <sys/resource.h>

#include "../model/TestFiles.h"
#include "platform/core/FileIo.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"

namespace {

// Writes beyond the limit fail with EFBIG, exactly at the byte, as on a disk that is full.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }

  private:
    rlimit saved{};
};

// Each write reaches the file at once, so the failing byte fails the write call that
// carried it, field by field, rather than the final flush.
FILE* OpenUnbuffered(const char* path, const char* mode) {
    FILE* file = fopen(path, mode);
    if (file) setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

class SaveFailure : public ::testing::Test {
  protected:
    void SetUp() override { swprintf(list.path, 260, L"%ls", Storage().c_str()); }
    void TearDown() override { SetFileOpenerForTests(nullptr); }
    std::wstring Storage() const { return folder.File(L"storage.dat"); }

    // Several entries of every record size: weekly, once and monthly, each action.
    void Fill(int first) {
        list.Clear();
        const int32_t kinds[] = {Weekly, Once, Monthly, Next24Hours, Yearly};
        for (int i = 0; i < 5; ++i) {
            auto* e = new DZItem();
            e->kind = kinds[i];
            e->action = static_cast<uint16_t>((first + i) % 3);
            e->options = static_cast<uint16_t>(first + i);
            e->weekdayMask = first;
            list.Append(e);
        }
    }

    TempFolder folder;
    DZList list;
};

TEST_F(SaveFailure, EveryFailingByteKeepsThePreviousFile) {
    Fill(1);
    ASSERT_TRUE(list.Save());
    const Bytes previous = ReadBytes(Storage());
    Fill(2);
    const size_t size = previous.size(); // the same kinds, so the same size
    ASSERT_EQ(size, 8u + 4 * 20 + 38);

    for (const bool unbuffered : {false, true}) {
        SetFileOpenerForTests(unbuffered ? OpenUnbuffered : nullptr);
        for (size_t room = 0; room < size; ++room) {
            bool saved;
            {
                FileSizeLimit limit(room);
                saved = list.Save();
            }
            ASSERT_FALSE(saved) << "room " << room << (unbuffered ? " unbuffered" : "");
            ASSERT_EQ(ReadBytes(Storage()), previous) << "room " << room;
            ASSERT_EQ(folder.Names(), std::vector<std::wstring>{L"storage.dat"}) << "room " << room;
        }
        {
            FileSizeLimit limit(size); // exactly enough
            ASSERT_TRUE(list.Save());
        }
        const Bytes now = ReadBytes(Storage());
        EXPECT_NE(now, previous);
        DZList reread;
        swprintf(reread.path, 260, L"%ls", Storage().c_str());
        ASSERT_TRUE(reread.Load());
        EXPECT_EQ(reread.LastLoad().state, LoadReport::Whole);
        EXPECT_EQ(reread.LastLoad().entries, 5);
        ASSERT_TRUE(list.Save()); // unchanged list, unchanged file
        EXPECT_EQ(ReadBytes(Storage()), now);
        Fill(1);
        ASSERT_TRUE(list.Save());
        ASSERT_EQ(ReadBytes(Storage()), previous);
        Fill(2);
    }
}

// A small file system of our own, filled up. Mounting needs root; elsewhere the test skips.
class FullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        mountPoint = folder.path;
        for (wchar_t& c : mountPoint)
            if (c == L'\\') c = L'/';
        native = std::string(mountPoint.begin(), mountPoint.end());
        if (mount("dz-faults", native.c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a small file system here";
        mounted = true;
    }
    void TearDown() override {
        if (mounted) umount(native.c_str());
    }
    // Writes a file until the disk is full.
    void FillDisk() {
        FILE* f = OpenFile(folder.File(L"filler").c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        setvbuf(f, nullptr, _IONBF, 0);
        const char block[512] = {};
        while (fwrite(block, 1, sizeof block, f) == sizeof block) {
        }
        while (fputc(0, f) != EOF) {
        }
        fclose(f);
    }

    TempFolder folder;
    std::wstring mountPoint;
    std::string native;
    bool mounted = false;
};

TEST_F(FullDisk, SaveFailsAndKeepsThePreviousFileUntilThereIsRoomAgain) {
    DZList list;
    swprintf(list.path, 260, L"%ls", folder.File(L"storage.dat").c_str());
    for (int i = 0; i < 3; ++i)
        list.Append(new DZItem());
    ASSERT_TRUE(list.Save());
    const Bytes previous = ReadBytes(folder.File(L"storage.dat"));
    FillDisk();

    for (int i = 0; i < 200; ++i)
        list.Append(new DZItem()); // more than one block
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(ReadBytes(folder.File(L"storage.dat")), previous);
    EXPECT_FALSE(FileExists(folder.File(L"storage.dat.new").c_str()));

    ASSERT_TRUE(DeleteFilePath(folder.File(L"filler").c_str()));
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadBytes(folder.File(L"storage.dat")).size(), 8u + 203 * 20);
}

} // namespace
