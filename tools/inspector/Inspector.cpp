#include "Inspector.h"

#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "HistoryReport.h"
#include "InspectorOutput.h"
#include "platform/core/FileIo.h"
#include "platform/core/SystemTimeFields.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/model/Firings.h"
#include "core/model/Recurrence.h"
#include "platform/core/BoundedText.h"
#include "core/text/TextTable.h"

namespace {

const wchar_t kUsage[] = L"usage: dzinspect [--json] [--local FILE] [--language NAME] "
                         L"[--at \"YYYY-MM-DD HH:MM:SS\"] [--upcoming N] STORAGE.DAT\n"
                         L"       dzinspect --history [--json] HISTORY.DAT\n";

struct Options {
    bool json = false;
    bool history = false; // the file is the executor's history.dat
    int upcoming = -1;    // -1: list the entries; N: the next N firings
    std::wstring storage, local, language;
    SYSTEMTIME at{};
    FILETIME atTime{};
};

bool ParseAt(const wchar_t* text, Options* options) {
    int y, mo, d, h, mi, s;
    wchar_t extra;
    if (swscanf(text, L"%d-%d-%d %d:%d:%d %lc", &y, &mo, &d, &h, &mi, &s, &extra) != 6)
        return false;
    if (y < kFirstValidYear || y > kLastValidYear || mo < 1 || mo > 12 || d < 1 || d > 31 ||
        h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return false;
    SYSTEMTIME t = SystemTimeOf(y, mo, d, h, mi, s);
    FILETIME f;
    if (!CivilToInstant(t, &f) || !TicksToCivil(ToTicks(f), &t)) return false;
    options->at = t;
    options->atTime = f;
    return true;
}

// Empty when the command line is good, else what is wrong with it.
std::wstring ParseArguments(int argc, wchar_t** argv, Options* options) {
    options->atTime = LocalNow();
    options->at = LocalNowFields();
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--json") {
            options->json = true;
        } else if (arg == L"--history") {
            options->history = true;
        } else if (arg == L"--upcoming") {
            wchar_t* end = nullptr;
            const long count = hasValue ? wcstol(argv[i + 1], &end, 10) : -1;
            if (!hasValue || end == argv[i + 1] || *end || count < 0 || count > 100000)
                return L"--upcoming needs a count of firings (0 to 100000)";
            options->upcoming = static_cast<int>(count);
            ++i;
        } else if (arg == L"--local" || arg == L"--language" || arg == L"--at") {
            if (!hasValue) return arg + L" needs a value";
            const wchar_t* value = argv[++i];
            if (arg == L"--local")
                options->local = value;
            else if (arg == L"--language")
                options->language = value;
            else if (!ParseAt(value, options))
                return std::wstring(L"--at: \"") + value +
                       L"\" is not a date and time that exists (YYYY-MM-DD HH:MM:SS)";
        } else if (!arg.empty() && arg[0] == L'-') {
            return L"unknown option " + arg;
        } else if (options->storage.empty()) {
            options->storage = arg;
        } else {
            return L"more than one storage file given";
        }
    }
    if (options->storage.empty()) return L"no storage file given";
    if (options->history && options->upcoming >= 0) return L"--history lists runs, not firings";
    return std::wstring();
}

// The folder of a path with its separator, or nothing for a bare file name.
std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Loads the texts; a warning (to print) when they cannot be read.
std::wstring LoadTexts(const Options& options) {
    const std::wstring local =
        options.local.empty() ? FolderOf(options.storage) + L"local.dat" : options.local;
    std::wstring section = L"[Default]";
    if (!options.language.empty()) {
        section = L"[" + options.language + L"]";
    } else {
        wchar_t language[50];
        if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, language, 50) > 0)
            section = std::wstring(L"[") + language + L"]";
    }
    if (g_textTable.LoadFrom(local.c_str(), section.c_str())) return std::wstring();
    return L"cannot read the texts from " + local + L"; texts show as <undefined>";
}

struct Header {
    size_t size = 0;
    unsigned char bytes[8] = {};
    uint16_t Word(size_t at) const { return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8); }
};

bool ReadHeader(const std::wstring& path, Header* header) {
    FILE* file = OpenFile(path.c_str(), L"rb");
    if (!file) return false;
    header->size = fread(header->bytes, 1, sizeof header->bytes, file);
    fclose(file);
    return true;
}

// The list class that reads a file with this first word, or none.
std::unique_ptr<StorageList> ListFor(uint16_t magic) {
    if (magic == 0xCE05) return std::make_unique<DZList>();
    if (magic == 0xCE00) return std::make_unique<StorageList>();
    return nullptr;
}

// Why the model refuses this header.
std::wstring HeaderProblem(const Header& h, const StorageList* list) {
    if (h.size < 2) return Format(L"the file has %u bytes, too few for a header", unsigned(h.size));
    if (!list)
        return Format(L"its first word is 0x%04X: neither an action list (0xCE05) nor a plain "
                      L"list (0xCE00)",
                      h.Word(0));
    if (h.size < 8) return Format(L"the header is cut short after %u bytes", unsigned(h.size));
    if (h.Word(2) != list->version)
        return Format(L"its version word is 0x%04X, expected 0x%04X", h.Word(2), list->version);
    if (h.Word(6) != 0)
        return Format(L"its format word is 0x%04X%04X; the high half must be 0", h.Word(6),
                      h.Word(4));
    return L"its header is not accepted";
}

const wchar_t* KindName(int32_t kind) {
    switch (kind) {
    case Weekly: return L"weekly";
    case Once: return L"once";
    case Next24Hours: return L"next24h";
    case Monthly: return L"monthly";
    case Yearly: return L"yearly";
    default: return L"unknown";
    }
}

struct EntryReport {
    const StorageItem* entry;
    const DZItem* action; // none in a plain list
    std::wstring actionText, scheduleText;
    FILETIME next; // by the rule the engine fires by: never for a disabled entry
    EntryMark mark;
};

EntryReport Describe(const StorageItem* entry, const Options& options) {
    EntryReport r{entry, dynamic_cast<const DZItem*>(entry), L"", L"", {}, EntryMark::None};
    wchar_t text[kEntryTextSize];
    entry->FormatAction(text, kEntryTextSize);
    r.actionText = text;
    entry->FormatSchedule(text, kEntryTextSize);
    r.scheduleText = text;
    r.next = NextFiring(*entry, options.atTime);
    r.mark = MarkOf(*entry, options.atTime);
    return r;
}

// Kind, state and the stored fields that the kind uses, with the action block.
std::wstring FieldsText(const EntryReport& r) {
    const StorageItem& e = *r.entry;
    std::wstring line = Format(L"%-8ls %-8ls start=%ls", KindName(e.kind),
                               e.active ? L"active" : L"disabled", Iso(e.startTime).c_str());
    if (e.kind != Weekly && e.kind != Once && e.kind != Next24Hours && e.kind != Monthly &&
        e.kind != Yearly)
        line += Format(L" kind=%d", e.kind);
    if (e.kind == Weekly) line += Format(L" weekdays=0x%02x", unsigned(e.weekdayMask));
    if (e.kind == Monthly)
        line += Format(L" months=0x%03x mode=%d day=%d week=%d weekday=%d", unsigned(e.monthMask),
                       e.monthlyMode, e.dayOfMonth, e.weekIndex, e.monthlyWeekday);
    if (r.action) line += Format(L" action=%u options=%u", r.action->action, r.action->options);
    return line;
}

std::wstring TextLine(const EntryReport& r, const Options& options) {
    std::wstring line = FieldsText(r);
    line += L" | " + r.actionText + L" | " + r.scheduleText + L" | next=";
    line += IsNever(r.next) ? L"never" : Iso(r.next);
    if (r.mark == EntryMark::Past) line += L" (passed)";
    if (r.mark == EntryMark::NeverRuns) line += L" (never runs)";
    return line + L"\n";
}

// The stored fields and the action block, each followed by ", ".
std::wstring JsonFields(const EntryReport& r) {
    const StorageItem& e = *r.entry;
    std::wstring json = Format(L"\"kind\": \"%ls\", \"kindCode\": %d, \"active\": %d, ",
                               KindName(e.kind), e.kind, e.active);
    json += L"\"start\": " + JsonString(Iso(e.startTime)) + L", ";
    json += Format(L"\"weekdayMask\": %d, \"monthMask\": %d, \"monthlyMode\": %d, "
                   L"\"dayOfMonth\": %d, \"weekIndex\": %d, \"monthlyWeekday\": %d, ",
                   e.weekdayMask, e.monthMask, e.monthlyMode, e.dayOfMonth, e.weekIndex,
                   e.monthlyWeekday);
    if (r.action)
        json += Format(L"\"action\": %u, \"options\": %u, ", r.action->action, r.action->options);
    return json;
}

std::wstring JsonEntry(const EntryReport& r, const Options& options) {
    std::wstring json = L"{" + JsonFields(r);
    json += L"\"actionText\": " + JsonString(r.actionText) + L", ";
    json += L"\"scheduleText\": " + JsonString(r.scheduleText) + L", ";
    json += L"\"next\": " + (IsNever(r.next) ? std::wstring(L"null") : JsonString(Iso(r.next)));
    json += r.mark == EntryMark::Past ? L", \"passed\": true" : L", \"passed\": false";
    json += r.mark == EntryMark::NeverRuns ? L", \"neverRuns\": true}" : L", \"neverRuns\": false}";
    return json;
}

// The next firings of the whole list after the reference, as the engine makes them.
void WriteUpcoming(const StorageList& list, const Options& options, FILE* out) {
    const std::vector<UpcomingFiring> firings =
        UpcomingFirings(list, options.atTime, static_cast<size_t>(options.upcoming));
    std::wstring text = options.json ? L"[" : L"";
    for (size_t i = 0; i < firings.size(); ++i) {
        const EntryReport r = Describe(firings[i].entry, options);
        const std::wstring instant = Iso(firings[i].instant);
        if (options.json)
            text += (i ? L",\n  " : L"\n  ") + (L"{\"instant\": " + JsonString(instant) + L", ") +
                    JsonFields(r) + L"\"actionText\": " + JsonString(r.actionText) + L"}";
        else
            text += instant + L"  " + FieldsText(r) + L" | " + r.actionText + L"\n";
    }
    if (options.json) text += firings.empty() ? L"]\n" : L"\n]\n";
    if (!options.json && firings.empty()) text = L"nothing scheduled\n";
    WriteUtf8(out, text);
}

int Fail(const Options& options, FILE* out, FILE* err, int code, const std::wstring& problem) {
    WriteUtf8(err, L"dzinspect: " + options.storage + L": " + problem + L"\n");
    if (options.json)
        WriteUtf8(out, L"{\"file\": " + JsonString(options.storage) + L", \"error\": " +
                           JsonString(problem) + L"}\n");
    return code;
}

} // namespace

int RunInspector(int argc, wchar_t** argv, FILE* out, FILE* err) {
    Options options;
    const std::wstring usageProblem = ParseArguments(argc, argv, &options);
    if (!usageProblem.empty()) {
        WriteUtf8(err, L"dzinspect: " + usageProblem + L"\n" + kUsage);
        return kInspectUsage;
    }
    if (options.history) return InspectHistory(options.storage, options.json, out, err);
    Header header;
    if (!ReadHeader(options.storage, &header))
        return Fail(options, out, err, kInspectMissing, L"cannot open the file");
    std::unique_ptr<StorageList> list = ListFor(header.size >= 2 ? header.Word(0) : 0);
    if (!list || header.size < 8)
        return Fail(options, out, err, kInspectRefused, HeaderProblem(header, list.get()));
    if (options.storage.size() >= sizeof list->path / sizeof list->path[0])
        return Fail(options, out, err, kInspectMissing, L"the path is too long");
    CopyCut(list->path, sizeof list->path / sizeof list->path[0], options.storage.c_str());
    list->Load();
    const LoadReport& report = list->LastLoad();
    if (report.state == LoadReport::Missing || report.state == LoadReport::Unreadable)
        return Fail(options, out, err, kInspectMissing, L"cannot open the file");
    if (report.state == LoadReport::Refused)
        return Fail(options, out, err, kInspectRefused, HeaderProblem(header, list.get()));

    const std::wstring textsProblem = LoadTexts(options);
    if (!textsProblem.empty()) WriteUtf8(err, L"dzinspect: " + textsProblem + L"\n");

    std::vector<const StorageItem*> entries;
    for (const StorageItem* e = list->head; e; e = e->next)
        entries.push_back(e);
    std::stable_sort(
        entries.begin(), entries.end(),
        [&](const StorageItem* a, const StorageItem* b) { return list->Compare(a, b) < 0; });
    const bool damaged = report.state == LoadReport::DamagedTail;
    const wchar_t* kindOfList = header.Word(0) == 0xCE05 ? L"action" : L"plain";
    if (options.upcoming >= 0) {
        WriteUpcoming(*list, options, out);
    } else if (options.json) {
        std::wstring json = L"{\"file\": " + JsonString(options.storage) + L", \"list\": \"" +
                            kindOfList + L"\", \"reference\": " + JsonString(Iso(options.atTime)) +
                            L", \"state\": \"" + (damaged ? L"damaged" : L"whole") + L"\", ";
        if (damaged) json += Format(L"\"stoppedAt\": %ld, ", report.stoppedAt);
        json += L"\"entries\": [";
        for (size_t i = 0; i < entries.size(); ++i)
            json += (i ? L",\n  " : L"\n  ") + JsonEntry(Describe(entries[i], options), options);
        WriteUtf8(out, json + L"\n]}\n");
    } else {
        WriteUtf8(out,
                  options.storage + Format(L": %ls list, %u entries, next occurrences after %ls\n",
                                           kindOfList, unsigned(entries.size()),
                                           Iso(options.atTime).c_str()));
        for (const StorageItem* e : entries)
            WriteUtf8(out, TextLine(Describe(e, options), options));
    }
    if (damaged) {
        // The entries before the damaged record are listed above; what stopped is told apart.
        WriteUtf8(err, L"dzinspect: " + options.storage +
                           Format(L": loading stopped at byte %ld: the record there is cut short "
                                  L"or damaged; the %ld entries before it are listed\n",
                                  report.stoppedAt, report.entries));
        return kInspectDamaged;
    }
    return kInspectOk;
}
