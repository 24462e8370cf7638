// The callback's path and command line from an arbitrary 4-byte action block, module path and
// buffer size. Each result fits its buffer, is what the rule gives, and is refused (false)
// only when the module path has no directory or the text would not fit.
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "callback/ExecutorLaunch.h"
#include "contract/EngineContract.h"

namespace {

// Runs one of the callback's builders into a buffer of exactly size characters, so that
// AddressSanitizer sees any write past it; checks the outcome against the expected text.
template <typename Build> void CheckBuilt(const std::wstring& expected, size_t size, Build build) {
    std::vector<wchar_t> buffer(size, L'#');
    const bool built = build(buffer.data(), size);
    FUZZ_CHECK(built == (expected.size() < size));
    if (built) FUZZ_CHECK(std::wstring(buffer.data()) == expected);
}

} // namespace

// Input: the action block, one byte for the buffer size, then the module path in UTF-16.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kActionBlockSize + 1) return 0;
    const uint16_t action = ActionBlockAction(data);
    const uint16_t options = ActionBlockOptions(data);
    const size_t bufferSize = 1 + static_cast<size_t>(data[kActionBlockSize]) * 2;
    std::wstring modulePath;
    for (size_t i = kActionBlockSize + 1; i + 1 < size; i += 2) {
        const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\0') break;
        modulePath += unit;
    }

    const uint16_t token = OptionToken(options);
    FUZZ_CHECK(token == 0 || token == 1 || token == 3);
    FUZZ_CHECK(token == options || (options != 1 && options != 3 && token == 0));

    const size_t slash = modulePath.rfind(L'\\');
    if (slash == std::wstring::npos) {
        wchar_t path[260];
        FUZZ_CHECK(!ExecutorPathBeside(modulePath.c_str(), path, 260));
    } else {
        const std::wstring executor = modulePath.substr(0, slash) + L"\\" DZ_EXECUTOR_FILE;
        for (size_t n : {bufferSize, size_t{260}})
            CheckBuilt(executor, n, [&](wchar_t* out, size_t count) {
                return ExecutorPathBeside(modulePath.c_str(), out, count);
            });
    }

    const std::wstring commandLine =
        L"\"" + modulePath + L"\" " + std::to_wstring(action) + L" " + std::to_wstring(token);
    for (size_t n : {bufferSize, size_t{260}})
        CheckBuilt(commandLine, n, [&](wchar_t* out, size_t count) {
            return BuildExecutorCommandLine(modulePath.c_str(), action, options, out, count);
        });
    return 0;
}
