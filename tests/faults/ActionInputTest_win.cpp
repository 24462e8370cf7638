// The callback and the executor under bad input: every action code of the block with a
// sample of option bits through the platform's own argument splitting, unknown action codes
// through the real library and executor, and first tokens that are not an action.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "../model/TestFiles.h"
#include "callback/ExecutorLaunch.h"
#include "executor/ActionRequest.h"
#include "core/model/DZItem.h"
#include "contract/EngineContract.h"

namespace {

const uint16_t kSampledOptions[] = {0, 1, 2, 3, 4, 7, 0x100, 0x103, 0x8001, 0xFFFF};

// The executor's exit code for a raw command line, or kNotStarted.
constexpr DWORD kNotStarted = 0xDEADBEEF;
DWORD ExitCodeOf(const std::wstring& program, std::wstring commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return kNotStarted;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = kNotStarted;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

TEST(ActionBlocks, EveryActionCodeReadsBackAsSentThroughTheArgumentSplitting) {
    // A path with blanks, brackets and a letter outside ASCII, as installs may have.
    const wchar_t executor[] = L"C:\\Program Files (x86)\\Doz\x00e4ra 1 3\\DozaraUtil.exe";
    long checked = 0, wrong = 0;
    std::wstring firstWrong;
    for (uint32_t action = 0; action <= 0xFFFF; ++action) {
        for (uint16_t options : kSampledOptions) {
            wchar_t commandLine[260];
            ASSERT_TRUE(BuildExecutorCommandLine(executor, static_cast<uint16_t>(action), options,
                                                 commandLine, 260));
            const std::vector<std::wstring> split = SplitCommandLine(commandLine);
            std::vector<const wchar_t*> argv;
            for (const std::wstring& a : split)
                argv.push_back(a.c_str());
            const int argc = static_cast<int>(argv.size());
            int parsedAction = -1;
            long parsedOption = -1;
            const int code = ParseActionArguments(argc, argv.data(), parsedAction, parsedOption);
            const bool pathKept = argc >= 1 && wcscmp(argv[0], executor) == 0;
            const bool right =
                pathKept && (action <= PowerOff ? code == kExecutorDone &&
                                                      parsedAction == static_cast<int>(action) &&
                                                      parsedOption == OptionToken(options)
                                                : code == kExecutorUnknownAction);
            ++checked;
            if (!right && wrong++ == 0) firstWrong = commandLine;
        }
    }
    EXPECT_EQ(wrong, 0) << "first wrong command line: "
                        << std::string(firstWrong.begin(), firstWrong.end());
    EXPECT_EQ(checked, 65536L * 10);
}

// The real library beside the real executor in a folder of their own.
class RealCallback : public ::testing::Test {
  protected:
    void SetUp() override {
        library = folder.File(DZ_CALLBACK_LIBRARY);
        executor = folder.File(DZ_EXECUTOR_FILE);
        ASSERT_TRUE(CopyFileW(DZ_FAULTS_CALLBACK_LIBRARY, library.c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(DZ_FAULTS_EXECUTOR_PROGRAM, executor.c_str(), FALSE));
        module = LoadLibraryW(library.c_str());
        ASSERT_NE(module, nullptr);
        engineFunc = reinterpret_cast<TarvikEngineFuncType>(
            reinterpret_cast<void*>(GetProcAddress(module, DZ_CALLBACK_EXPORT)));
        ASSERT_NE(engineFunc, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    TempFolder folder;
    std::wstring library, executor;
    HMODULE module = nullptr;
    TarvikEngineFuncType engineFunc = nullptr;
};

TEST_F(RealCallback, UnknownActionCodesEndAtTheExecutorWithMinusNine) {
    const uint16_t actions[] = {3, 4, 9, 10, 255, 256, 4096, 0x7FFF, 0x8000, 0xFFFF};
    int i = 0;
    for (uint16_t action : actions) {
        const uint16_t options = kSampledOptions[i++ % 10];
        const unsigned char block[kActionBlockSize] = {
            static_cast<unsigned char>(action), static_cast<unsigned char>(action >> 8),
            static_cast<unsigned char>(options), static_cast<unsigned char>(options >> 8)};
        EXPECT_EQ(engineFunc(0, 0, block), kExecutorUnknownAction)
            << "action " << action << " options " << options;
    }
}

TEST_F(RealCallback, MalformedFirstTokensEndWithMinusNineOrMinusTen) {
    struct Case {
        std::wstring arguments; // the command line after the quoted program
        int code;
    };
    const std::vector<Case> cases = {
        {L"", kExecutorTooFewArguments},
        {L"\t ", kExecutorTooFewArguments},
        {L"1", kExecutorTooFewArguments},
        {L"\"1 3\"", kExecutorTooFewArguments}, // one argument in quotes
        {L"\"\" 1", kExecutorUnknownAction},    // an empty first argument
        {L"3 1", kExecutorUnknownAction},
        {L"65535 0", kExecutorUnknownAction},
        {L"01 1", kExecutorUnknownAction},
        {L"+1 1", kExecutorUnknownAction},
        {L"-0 1", kExecutorUnknownAction},
        {L"1.0 1", kExecutorUnknownAction},
        {L"1x 1", kExecutorUnknownAction},
        {L"\\\"1 3", kExecutorTooFewArguments}, // no escape: the quote groups the rest
        {L"\xFF11 1", kExecutorUnknownAction},  // a full-width digit one
        {L"2\x00A0 1", kExecutorUnknownAction}, // a no-break space is no separator
        {std::wstring(30000, L'1') + L" 1", kExecutorUnknownAction},
    };
    for (const Case& c : cases) {
        const std::wstring commandLine = L"\"" + executor + L"\" " + c.arguments;
        EXPECT_EQ(static_cast<int>(ExitCodeOf(executor, commandLine)), c.code)
            << "arguments of " << c.arguments.size() << " characters, starting "
            << static_cast<unsigned>(c.arguments.empty() ? 0 : c.arguments[0]);
    }
}

} // namespace
