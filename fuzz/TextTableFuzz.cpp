// Arbitrary bytes as "local.dat". The table must load without reading or writing out of
// bounds and without leaking, give a text for every lookup, and find the texts of the wanted
// section again when the same file is loaded a second time into the same table.
#include <cstdint>
#include <cwchar>
#include <string>

#include "FuzzFiles.h"
#include "core/text/TextTable.h"

namespace {

// The section wanted comes from the input's last byte, so the fuzzer can reach each branch.
const wchar_t* const kSections[] = {L"[English]", L"[Default]", L"[German]", L""};

const wchar_t* const kKeys[] = {L"APP_NAME", L"MSG_NO_ENGINE", L"DLG_PHONE_OFF", L"",
                                L"A",        L"<undefined>"};

// The first key of the file's first text line, as the fuzzer wrote it: lookups of a key that
// is really there reach the matching path, not only the miss.
std::wstring FirstKey(const uint8_t* data, size_t size) {
    std::wstring key;
    for (size_t i = 2; i + 1 < size && key.size() < 64; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == L',' || c == L'\n') break;
        key += c;
    }
    return key;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::wstring path = ScratchFile("local.dat");
    if (!WriteWholeFile(path, data, size)) return 0;
    const wchar_t* wanted = kSections[size ? data[size - 1] % 4 : 0];

    TextTable table;
    FUZZ_CHECK(table.LoadFrom(path.c_str(), wanted));
    const std::wstring firstKey = FirstKey(data, size);
    std::wstring first[7];
    for (size_t i = 0; i < 6; ++i) {
        const wchar_t* text = table.Lookup(kKeys[i]);
        FUZZ_CHECK(text != nullptr);
        first[i] = text;
    }
    first[6] = table.Lookup(firstKey.c_str());
    FUZZ_CHECK(table.Lookup(nullptr) != nullptr);

    FUZZ_CHECK(table.LoadFrom(path.c_str(), wanted));
    for (size_t i = 0; i < 6; ++i)
        FUZZ_CHECK(first[i] == table.Lookup(kKeys[i]));
    FUZZ_CHECK(first[6] == table.Lookup(firstKey.c_str()));
    return 0;
}
