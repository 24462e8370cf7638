// Writes the seed corpora of the fuzz targets into <folder>/storage, texttable, descriptions,
// callback and history: lists of every kind saved by the product's own writer, and small
// "local.dat" files with every construct of the text file. Instants are fixed so the corpus is the
// same on every run.
//   fuzz_make_corpus <corpus folder>       (fuzz/make-corpus.sh runs it on fuzz/corpus)
#include <cstdio>
#include <cwchar>
#include <string>
#include <sys/stat.h>

#include "FuzzFiles.h"
#include "platform/core/FileIo.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/RunHistory.h"

namespace {

constexpr uint64_t kMonday2024At2300 = 133540668000000000ULL; // 2024-03-04 23:00:00

std::string g_root;

std::wstring Wide(const std::string& path) {
    wchar_t wide[260];
    NativePathToWide(path.c_str(), wide, 260);
    return wide;
}

void Put(const char* target, const char* name, const std::string& bytes) {
    const std::string folder = g_root + "/" + target;
    mkdir(folder.c_str(), 0755);
    WriteWholeFile(Wide(folder + "/" + name), reinterpret_cast<const uint8_t*>(bytes.data()),
                   bytes.size());
}

// An entry of the given kind at a fixed instant, with recurrence fields that differ from the
// defaults where the kind uses them.
void Fill(StorageItem& e, int32_t kind, int variant) {
    e.kind = kind;
    e.startTime = FromTicks(kMonday2024At2300 + static_cast<uint64_t>(variant) * kTicksPerDay);
    e.weekdayMask = variant % 2 ? 0x1F : 0x41;
    e.active = variant % 3 != 0;
    if (kind == Monthly) {
        e.monthMask = variant % 2 ? 0x041 : 0xFFF;
        e.monthlyMode = static_cast<int16_t>(variant % 2);
        e.dayOfMonth = variant % 2 ? 15 : -2;
        e.weekIndex = variant % 2 ? 4 : 1;
        e.monthlyWeekday = 16;
    }
}

// Saves the list with the product's writer and gives the file's bytes.
std::string Saved(StorageList& list) {
    const std::wstring path = ScratchFile("storage.dat");
    swprintf(list.path, 260, L"%ls", path.c_str());
    if (!list.Save()) fprintf(stderr, "make-corpus: save failed\n");
    return ReadFileBytes(path);
}

const int32_t kKinds[] = {Weekly, Once, Next24Hours, Monthly, Yearly};

void StorageCorpus() {
    DZList empty;
    Put("storage", "empty-action-list", Saved(empty));

    DZList actions;
    int variant = 0;
    for (int32_t kind : kKinds) {
        for (uint16_t action : {PhoneOff, PhoneOn, PowerOff}) {
            auto* e = new DZItem();
            Fill(*e, kind, variant++);
            e->action = action;
            e->options = static_cast<uint16_t>(variant % 4);
            actions.Append(e);
        }
    }
    const std::string all = Saved(actions);
    Put("storage", "action-list-every-kind", all);
    Put("storage", "action-list-cut-in-a-record", all.substr(0, all.size() - 7));

    DZList oneMonthly;
    auto* monthly = new DZItem();
    Fill(*monthly, Monthly, 1);
    oneMonthly.Append(monthly);
    Put("storage", "action-list-one-monthly", Saved(oneMonthly));

    StorageList plain;
    for (int32_t kind : kKinds) {
        auto* e = new StorageItem(kind, 0);
        Fill(*e, kind, variant++);
        plain.Append(e);
    }
    Put("storage", "plain-list-every-kind", Saved(plain));
}

// Settings byte (locale in bits 0-1, seconds in bit 2), then the records without the header.
void DescriptionsCorpus() {
    int variant = 0;
    for (int32_t kind : kKinds) {
        DZList list;
        for (int i = 0; i < 2; ++i) {
            auto* e = new DZItem();
            Fill(*e, kind, variant);
            e->action = static_cast<uint16_t>(variant % 4);
            e->options = static_cast<uint16_t>(variant % 4);
            list.Append(e);
            ++variant;
        }
        const std::string records = Saved(list).substr(8);
        for (int settings : {0, 5}) {
            const std::string name =
                "kind-" + std::to_string(kind) + "-settings-" + std::to_string(settings);
            Put("descriptions", name.c_str(),
                std::string(1, static_cast<char>(settings)) + records);
        }
    }
}

std::string Utf16(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
    }
    return out;
}

void TextTableCorpus() {
    const wchar_t bom[] = L"\xFEFF";
    Put("texttable", "default-then-english",
        Utf16(std::wstring(bom) +
              L"[Default]\r\nAPP_NAME, Dozara\r\nMSG_NO_ENGINE, No engine\r\n"
              L"[English]\r\nAPP_NAME, Dozara EN\r\nDLG_PHONE_OFF, Phone off\r\n"
              L"[German]\r\nAPP_NAME, Dozara DE\r\n"));
    Put("texttable", "every-line-form",
        Utf16(std::wstring(bom) + L"BEFORE, first header\n"
                                  L"  [Default]\n"
                                  L"[english]  \t\r\n"
                                  L"A, one\\ntwo\\n\n"
                                  L"KEY, a, b\n"
                                  L"A,B\n"
                                  L" APP_NAME, leading blank\n"
                                  L"KEY,   \n"
                                  L"; comment\n"
                                  L"\n"
                                  L"[Default]\n"
                                  L"A, again\n"));
    Put("texttable", "no-byte-order-mark", Utf16(L"[Default]\nAPP_NAME, Dozara\n"));
    Put("texttable", "line-longer-than-a-piece",
        Utf16(std::wstring(bom) + L"[Default]\nLONG, " + std::wstring(2050, L'x') + L"\nB, b\n"));
}

// Action blocks as the list writes them (the last four bytes of a record), a buffer size
// byte, and a module path in UTF-16.
void CallbackCorpus() {
    const std::wstring modulePath = L"C:\\Program Files\\Dozara\\DozaraDLL.dll";
    for (uint16_t action : {0, 1, 2, 7}) {
        for (uint16_t options : {0, 1, 2, 3}) {
            DZList list;
            auto* e = new DZItem();
            e->action = action;
            e->options = options;
            list.Append(e);
            const std::string file = Saved(list);
            std::string input = file.substr(file.size() - 4) + std::string(1, '\x80');
            input += Utf16(modulePath);
            const std::string name =
                "block-" + std::to_string(action) + "-" + std::to_string(options);
            Put("callback", name.c_str(), input);
        }
    }
}

// Histories as the executor writes them: empty, a few runs of every outcome, and a full ring
// that has wrapped.
void HistoryCorpus() {
    for (uint32_t runs : {0u, 3u, 250u}) {
        std::string bytes(kHistoryFileSize, '\0');
        auto* at = reinterpret_cast<unsigned char*>(&bytes[0]);
        EncodeHistoryHeader(at);
        for (uint32_t sequence = 1; sequence <= runs; ++sequence) {
            RunRecord run;
            run.sequence = sequence;
            run.instant = FromTicks(kMonday2024At2300 + sequence * kTicksPerDay);
            run.action = static_cast<uint16_t>(sequence % kActionCodeCount);
            run.option = sequence % 2 ? kOptionsBluetooth : kOptionsNone;
            run.finished = sequence % 5 != 0;
            for (uint32_t step = 0; step < sequence % kRunStepCount; ++step)
                run.states[step] = StepMade;
            run.states[sequence % kRunStepCount] = sequence % 3 ? StepFailed : StepCancelled;
            run.results[sequence % kRunStepCount] = static_cast<int32_t>(0x80000048u);
            EncodeRunRecord(run, at + HistorySlotOffset(sequence));
        }
        const size_t used =
            runs >= kHistorySlots ? kHistoryFileSize : kHistoryHeaderSize + runs * kHistorySlotSize;
        Put("history", ("runs-" + std::to_string(runs)).c_str(), bytes.substr(0, used));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    g_root = argv[1];
    mkdir(g_root.c_str(), 0755);
    StorageCorpus();
    DescriptionsCorpus();
    TextTableCorpus();
    CallbackCorpus();
    HistoryCorpus();
    return 0;
}
