// The texts of entries loaded from arbitrary bytes, with a "local.dat" whose every value is
// as long as a line allows and full of format directives. Each text must stay inside the
// caller's 260 characters, end in a terminator, and never take a value for a format.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "core/model/DZList.h"
#include "core/text/LocalePictures.h"
#include "core/text/TextKeys.h"
#include "core/text/TextTable.h"

namespace {

constexpr size_t kBufferSize = 260;

const char* const kLocales[] = {"en_US.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8", "fr_FR.UTF-8"};

void PutUnit(std::string& out, wchar_t c) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
}

// Every key with a value that fills the 1999 characters a line may hold.
void LoadLongTexts() {
    std::string file;
    PutUnit(file, 0xFEFF);
    for (const KeyTable& keys : kAllKeyTables)
        for (size_t i = 0; i < keys.count; ++i) {
            std::wstring line = std::wstring(keys.keys[i]) + L", ";
            const wchar_t pattern[] = L"%s%n%d\\n\x00e9\x4e2d ";
            while (line.size() < 1995)
                line += pattern[line.size() % (sizeof pattern / sizeof pattern[0] - 1)];
            line += L"\r\n";
            for (wchar_t c : line)
                PutUnit(file, c);
        }
    const std::wstring path = ScratchFile("local.dat");
    WriteWholeFile(path, reinterpret_cast<const uint8_t*>(file.data()), file.size());
    FUZZ_CHECK(g_textTable.LoadFrom(path.c_str(), L"[English]"));
}

// A fresh buffer per call, exactly as long as the caller's, so AddressSanitizer sees any
// write past it.
void CheckText(void (StorageItem::*format)(wchar_t*, size_t) const, const StorageItem& entry) {
    std::vector<wchar_t> buffer(kBufferSize, L'#');
    (entry.*format)(buffer.data(), kBufferSize);
    FUZZ_CHECK(wmemchr(buffer.data(), L'\0', kBufferSize) != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    LoadLongTexts();
    return 0;
}

// Input: one byte of settings (locale, seconds), then the records of an action list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    setenv("LANG", kLocales[data[0] & 3], 1);
    g_localePictures.Prepare();

    std::string file("\x05\xCE\x02\x01\x01\x00\x00\x00", 8);
    file.append(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::wstring path = ScratchFile("storage.dat");
    if (!WriteWholeFile(path, reinterpret_cast<const uint8_t*>(file.data()), file.size())) return 0;
    DZList list;
    swprintf(list.path, 260, L"%ls", path.c_str());
    list.Load();
    for (StorageItem* e = list.head; e; e = e->next) {
        e->showSeconds = (data[0] >> 2) & 1;
        CheckText(&StorageItem::FormatSchedule, *e);
        CheckText(&StorageItem::FormatAction, *e);
        CheckText(&StorageItem::FormatMonthlyDay, *e);
    }
    return 0;
}
