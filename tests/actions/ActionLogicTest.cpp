// The executor's and the callback's decisions, tested as plain functions.
#include "callback/ExecutorLaunch.h"
#include "executor/ActionRequest.h"
#include "executor/LineName.h"
#include "contract/EngineContract.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct GrammarCase {
    std::vector<const wchar_t*> arguments; // after the program name
    int code;
    int action;
    long option;
};

TEST(ExecutorGrammar, CountThenActionTokenThenOption) {
    const GrammarCase cases[] = {
        {{}, kExecutorTooFewArguments, 0, 0},
        {{L"1"}, kExecutorTooFewArguments, 0, 0},
        {{L"3", L"1"}, kExecutorUnknownAction, 0, 0},
        {{L"1 ", L"1"}, kExecutorUnknownAction, 0, 0},
        {{L"01", L"1"}, kExecutorUnknownAction, 0, 0},
        {{L"", L"1"}, kExecutorUnknownAction, 0, 0},
        {{L"-0", L"1"}, kExecutorUnknownAction, 0, 0},
        {{L"0", L"0"}, kExecutorDone, 0, 0},
        {{L"1", L"3", L"9"}, kExecutorDone, 1, 3},
        {{L"1", L"x"}, kExecutorDone, 1, 0},
        {{L"1", L"  3"}, kExecutorDone, 1, 3},
        {{L"1", L"+3z"}, kExecutorDone, 1, 3},
        {{L"2", L"-1"}, kExecutorDone, 2, -1},
        {{L"2", L""}, kExecutorDone, 2, 0},
    };
    for (const GrammarCase& c : cases) {
        std::vector<const wchar_t*> argv = {L"DozaraUtil.exe"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        int action = -1;
        long option = -1;
        int code = ParseActionArguments(static_cast<int>(argv.size()), argv.data(), action, option);
        SCOPED_TRACE(testing::Message() << "arguments " << c.arguments.size() << " first "
                                        << (c.arguments.empty() ? "-" : "given"));
        EXPECT_EQ(code, c.code);
        if (c.code == kExecutorDone) {
            EXPECT_EQ(action, c.action);
            EXPECT_EQ(option, c.option);
        }
    }
}

TEST(ExecutorCommandLine, SplitsAtBlanksWithQuotesGroupingAndNoOtherEscape) {
    struct Case {
        const wchar_t* commandLine;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Dozara\\DozaraUtil.exe\" 1 3",
         {L"C:\\Program Files\\Dozara\\DozaraUtil.exe", L"1", L"3"}},
        {L"util \"1\" 3", {L"util", L"1", L"3"}},
        {L"util  \t 0\t\t1   ", {L"util", L"0", L"1"}},
        {L"util 1\" 3\"", {L"util", L"1 3"}},
        {L"util \"\" 1", {L"util", L"", L"1"}},
        {L"util a\\\"b c\"", {L"util", L"a\\b c"}},
        {L"util \"open", {L"util", L"open"}},
        {L"", {}},
        {L"   ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.commandLine), c.arguments);
}

TEST(ExecutorBluetooth, PhoneOffAndOptionZeroSwitchOffOtherValuesLeaveItAlone) {
    const DWORD none = 0xFF;
    struct Case {
        int action;
        long option;
        DWORD mode;
    } cases[] = {
        {0, 0, BTH_POWER_OFF},
        {0, 1, BTH_POWER_OFF},
        {0, 3, BTH_POWER_OFF},
        {0, 7, BTH_POWER_OFF},
        {1, 0, BTH_POWER_OFF},
        {1, 1, BTH_CONNECTABLE},
        {1, 3, BTH_DISCOVERABLE},
        {1, 2, none},
        {1, 7, none},
        {2, 0, BTH_POWER_OFF},
        {2, 3, BTH_DISCOVERABLE},
        {2, -1, none},
    };
    for (const Case& c : cases) {
        DWORD mode = none;
        bool sets = BluetoothModeForRequest(BluetoothRequest(c.action, c.option), mode);
        SCOPED_TRACE(testing::Message() << c.action << " " << c.option);
        EXPECT_EQ(sets, c.mode != none);
        EXPECT_EQ(mode, c.mode);
    }
}

// A capability record with room for variable data behind its fixed part.
struct CapsBlock {
    std::vector<unsigned char> bytes;
    explicit CapsBlock(size_t size) : bytes(size, 0) { caps()->dwTotalSize = DWORD(size); }
    LINEDEVCAPS* caps() { return reinterpret_cast<LINEDEVCAPS*>(bytes.data()); }
    void PutName(size_t offset, const wchar_t* name, size_t characters) {
        std::memcpy(bytes.data() + offset, name, characters * sizeof(wchar_t));
    }
};

TEST(ExecutorLineName, ReadOnlyWhereFilledAndInsideTheBlock) {
    const wchar_t cellular[] = L"Cellular Line";
    const size_t fixed = sizeof(LINEDEVCAPS);
    const DWORD nameBytes = sizeof(cellular); // with the terminator
    struct Case {
        const char* what;
        const wchar_t* name;
        size_t characters; // stored characters
        size_t offset;
        DWORD size;
        DWORD used; // 0: exactly up to the end of the stored name
        bool matches;
    } cases[] = {
        {"terminated", cellular, 14, fixed, nameBytes, 0, true},
        {"unterminated", cellular, 13, fixed, 26, 0, true},
        {"odd offset", cellular, 14, fixed + 1, nameBytes, 0, true},
        {"odd size", cellular, 14, fixed, 27, 0, true},
        {"longer", L"Cellular Line 2", 16, fixed, 32, 0, false},
        {"other case", L"cellular line", 14, fixed, nameBytes, 0, false},
        {"cut short", cellular, 14, fixed, 16, 0, false},
        {"empty", L"", 1, fixed, 2, 0, false},
        {"beyond filled bytes", cellular, 14, fixed, nameBytes, DWORD(fixed), false},
        {"partly filled", cellular, 14, fixed, nameBytes, DWORD(fixed + 20), false},
        {"offset past the block", cellular, 0, 4096, nameBytes, 8192, false},
        {"size wraps around", cellular, 14, fixed, 0xFFFFFFF0u, 0xFFFFFFFFu, false},
        {"offset wraps around", cellular, 0, 0xFFFFFFF0u, 64, 0xFFFFFFFFu, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CapsBlock block(fixed + 64);
        if (c.characters) block.PutName(c.offset, c.name, c.characters);
        block.caps()->dwLineNameOffset = DWORD(c.offset);
        block.caps()->dwLineNameSize = c.size;
        block.caps()->dwUsedSize =
            c.used ? c.used : DWORD(c.offset + c.characters * sizeof(wchar_t));
        EXPECT_EQ(LineNameIs(block.caps(), block.bytes.size(), cellular), c.matches);
    }
}

TEST(ExecutorLineName, ABlockSmallerThanTheRecordHasNoName) {
    CapsBlock block(sizeof(LINEDEVCAPS));
    EXPECT_FALSE(LineNameIs(block.caps(), sizeof(LINEDEVCAPS) - 4, L""));
}

TEST(CallbackCommandLine, QuotedPathThenActionThenOptionToken) {
    const wchar_t* path = L"C:\\Program Files\\Dozara\\DozaraUtil.exe";
    struct Case {
        uint16_t action;
        uint16_t options;
        const wchar_t* tokens;
    } cases[] = {
        {0, 0, L"0 0"}, {0, 1, L"0 1"},         {1, 3, L"1 3"},      {1, 2, L"1 0"},
        {2, 1, L"2 1"}, {2, 4, L"2 0"},         {1, 0x0103, L"1 0"}, {1, 0xFFFF, L"1 0"},
        {3, 1, L"3 1"}, {65535, 3, L"65535 3"},
    };
    for (const Case& c : cases) {
        wchar_t commandLine[MAX_PATH + 32];
        ASSERT_TRUE(
            BuildExecutorCommandLine(path, c.action, c.options, commandLine, MAX_PATH + 32));
        EXPECT_EQ(std::wstring(commandLine), std::wstring(L"\"") + path + L"\" " + c.tokens);
    }
    wchar_t small[40];
    EXPECT_FALSE(BuildExecutorCommandLine(path, 1, 3, small, 40));
}

TEST(CallbackExecutorPath, TheLibrarysDirectoryAndTheExecutorsName) {
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(ExecutorPathBeside(L"C:\\a b\\lib\\DozaraDLL.dll", path, MAX_PATH));
    EXPECT_STREQ(path, L"C:\\a b\\lib\\DozaraUtil.exe");
    EXPECT_FALSE(ExecutorPathBeside(L"DozaraDLL.dll", path, MAX_PATH));
    std::wstring deep = L"C:\\" + std::wstring(MAX_PATH - 10, L'x') + L"\\DozaraDLL.dll";
    EXPECT_FALSE(ExecutorPathBeside(deep.c_str(), path, MAX_PATH));
}

} // namespace
