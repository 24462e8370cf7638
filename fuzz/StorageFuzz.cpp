// Arbitrary bytes as "storage.dat", loaded by the action list and by a plain list. Besides
// memory safety, every load must agree with a save of what it loaded: the saved file is the
// list's own header followed by exactly the bytes of the records that were read.
#include <cstdint>
#include <cwchar>
#include <string>

#include "FuzzFiles.h"
#include "core/model/DZList.h"

namespace {

constexpr size_t kHeaderSize = 8;

std::string ExpectedHeader(const StorageList& list) {
    const unsigned char h[kHeaderSize] = {static_cast<unsigned char>(list.magic),
                                          static_cast<unsigned char>(list.magic >> 8),
                                          static_cast<unsigned char>(list.version),
                                          static_cast<unsigned char>(list.version >> 8),
                                          static_cast<unsigned char>(list.formatWord),
                                          0,
                                          0,
                                          0};
    return std::string(reinterpret_cast<const char*>(h), kHeaderSize);
}

void LoadAndResave(StorageList& list, const std::string& input) {
    static const std::wstring in = ScratchFile("storage.dat");
    static const std::wstring out = ScratchFile("resaved.dat");
    swprintf(list.path, 260, L"%ls", in.c_str());
    const bool loaded = list.Load();
    const LoadReport report = list.LastLoad();

    long walked = 0;
    for (const StorageItem* e = list.head; e; e = e->next) {
        FUZZ_CHECK(e->owner == &list);
        FUZZ_CHECK(e->next == nullptr || e->next->prev == e);
        ++walked;
    }
    FUZZ_CHECK(walked == report.entries);
    if (!loaded) {
        FUZZ_CHECK(walked == 0);
        FUZZ_CHECK(report.state == LoadReport::Refused);
        return;
    }
    FUZZ_CHECK(report.state == LoadReport::Whole || report.state == LoadReport::DamagedTail);
    const size_t recordsEnd =
        report.state == LoadReport::Whole ? input.size() : static_cast<size_t>(report.stoppedAt);
    FUZZ_CHECK(recordsEnd >= kHeaderSize && recordsEnd <= input.size());

    // Saved under another name, so that the damaged input is not kept aside again and again.
    swprintf(list.path, 260, L"%ls", out.c_str());
    FUZZ_CHECK(list.Save());
    const std::string saved = ReadFileBytes(out);
    FUZZ_CHECK(saved == ExpectedHeader(list) + input.substr(kHeaderSize, recordsEnd - kHeaderSize));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!WriteWholeFile(ScratchFile("storage.dat"), data, size)) return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    DZList actions;
    LoadAndResave(actions, input);
    StorageList plain;
    LoadAndResave(plain, input);
    return 0;
}
