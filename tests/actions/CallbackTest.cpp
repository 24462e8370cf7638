// DozaraDLL loaded the way the engine loads it: from its own folder, while the current folder
// is another one. A stub executor beside it records the command line it receives.
#include "platform/device/DeviceState.h"
#include "tests/actions/TestSupport.h"
#include "contract/EngineContract.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The library copied into a folder of its own, loaded from there and called by its export.
class LoadedCallback {
  public:
    explicit LoadedCallback(const ScratchFolder& folder) {
        const std::wstring path = folder.File(DZ_CALLBACK_LIBRARY);
        CopyFileW(CallbackLibrary().c_str(), path.c_str(), FALSE);
        module = LoadLibraryW(path.c_str());
        if (module)
            function = reinterpret_cast<TarvikEngineFuncType>(
                reinterpret_cast<void*>(GetProcAddress(module, DZ_CALLBACK_EXPORT)));
    }
    ~LoadedCallback() {
        if (module) FreeLibrary(module);
    }
    LoadedCallback(const LoadedCallback&) = delete;
    LoadedCallback& operator=(const LoadedCallback&) = delete;

    bool loaded() const { return function != nullptr; }
    int CallWithoutBlock() const { return function(0, 0, nullptr); }
    int Call(uint16_t action, uint16_t options) const {
        // Unaligned on purpose: the block is read byte by byte.
        unsigned char bytes[5] = {
            0xEE, static_cast<unsigned char>(action), static_cast<unsigned char>(action >> 8),
            static_cast<unsigned char>(options), static_cast<unsigned char>(options >> 8)};
        return function(0x1234, 0x5678, bytes + 1);
    }

  private:
    HMODULE module = nullptr;
    TarvikEngineFuncType function = nullptr;
};

// Runs with the current folder set elsewhere, and restores it afterwards.
class ElsewhereCurrentFolder {
  public:
    explicit ElsewhereCurrentFolder(const std::wstring& folder) {
        wchar_t current[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, current);
        previous = current;
        SetCurrentDirectoryW(folder.c_str());
    }
    ~ElsewhereCurrentFolder() { SetCurrentDirectoryW(previous.c_str()); }

  private:
    std::wstring previous;
};

class Callback : public testing::Test {
  protected:
    ScratchFolder libraryFolder;
    ScratchFolder otherFolder;

    void PutStub(const ScratchFolder& folder) const {
        ASSERT_TRUE(
            CopyFileW(StubExecutorProgram().c_str(), folder.File(DZ_EXECUTOR_FILE).c_str(), FALSE));
    }
};

TEST_F(Callback, StartsTheExecutorBesideItWithTheTwoTokens) {
    PutStub(libraryFolder);
    ElsewhereCurrentFolder elsewhere(otherFolder.path());
    LoadedCallback callback(libraryFolder);
    ASSERT_TRUE(callback.loaded());
    const std::wstring quotedPath = L"\"" + libraryFolder.File(DZ_EXECUTOR_FILE) + L"\" ";
    const uint16_t largeOptions[] = {4, 7, 0x0101, 0x0300, 0xFFFF};
    for (uint16_t action = 0; action <= 2; ++action) {
        for (uint16_t options = 0; options <= 3; ++options) {
            DeleteFileW(libraryFolder.File(L"received.txt").c_str());
            EXPECT_EQ(callback.Call(action, options), 0);
            const std::wstring tokens =
                std::to_wstring(action) + L" " + std::to_wstring(options == 2 ? 0 : options);
            EXPECT_EQ(ReadWideFile(libraryFolder.File(L"received.txt")), quotedPath + tokens);
        }
        for (uint16_t options : largeOptions) {
            EXPECT_EQ(callback.Call(action, options), 0);
            EXPECT_EQ(ReadWideFile(libraryFolder.File(L"received.txt")),
                      quotedPath + std::to_wstring(action) + L" 0");
        }
    }
    for (uint16_t action : {3, 0x0100, 0xFFFF}) {
        EXPECT_EQ(callback.Call(action, 1), 0);
        EXPECT_EQ(ReadWideFile(libraryFolder.File(L"received.txt")),
                  quotedPath + std::to_wstring(action) + L" 1");
    }
}

TEST_F(Callback, HandsBackTheExecutorsExitCodeAsSigned) {
    PutStub(libraryFolder);
    LoadedCallback callback(libraryFolder);
    ASSERT_TRUE(callback.loaded());
    for (int code :
         {kExecutorTooFewArguments, kExecutorUnknownAction, kExecutorException, 0, 1, 2147483647}) {
        ASSERT_TRUE(WriteTextFile(libraryFolder.File(L"exitcode.txt"), std::to_string(code)));
        EXPECT_EQ(callback.Call(1, 3), code);
    }
}

TEST_F(Callback, AMissingExecutorGivesMinusOneEvenWithACopyInTheCurrentFolder) {
    PutStub(otherFolder);
    ElsewhereCurrentFolder elsewhere(otherFolder.path());
    LoadedCallback callback(libraryFolder);
    ASSERT_TRUE(callback.loaded());
    EXPECT_EQ(callback.Call(0, 1), kExecutorNotStarted);
    EXPECT_TRUE(ReadWideFile(otherFolder.File(L"received.txt")).empty());
}

TEST_F(Callback, NoActionBlockStartsNothing) {
    PutStub(libraryFolder);
    LoadedCallback callback(libraryFolder);
    ASSERT_TRUE(callback.loaded());
    EXPECT_EQ(callback.CallWithoutBlock(), kExecutorNotStarted);
    EXPECT_TRUE(ReadWideFile(libraryFolder.File(L"received.txt")).empty());
}

TEST_F(Callback, RunsTheRealExecutorAgainstThePhone) {
    ASSERT_TRUE(
        CopyFileW(ExecutorProgram().c_str(), libraryFolder.File(DZ_EXECUTOR_FILE).c_str(), FALSE));
    ElsewhereCurrentFolder elsewhere(otherFolder.path());
    LoadedCallback callback(libraryFolder);
    ASSERT_TRUE(callback.loaded());

    ASSERT_TRUE(ResetDevice());
    EXPECT_EQ(callback.Call(1, 3), kExecutorDone);
    const std::vector<std::wstring> calls = JournalCallNames();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(ReadDeviceJournal().front(), L"BthSetMode(2) -> 0");
    EXPECT_EQ(calls.back(), L"lineShutdown");
    DeviceStatus status;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status.bluetoothMode, 2u);
    EXPECT_EQ(status.equipmentState, 5u);

    // An action code without a token of its own: the executor refuses it and does nothing.
    ASSERT_TRUE(ResetDevice());
    EXPECT_EQ(callback.Call(7, 1), kExecutorUnknownAction);
    EXPECT_TRUE(ReadDeviceJournal().empty());
}

} // namespace
