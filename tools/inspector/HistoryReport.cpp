#include "HistoryReport.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

#include "Inspector.h"
#include "InspectorOutput.h"
#include "platform/core/FileIo.h"
#include "core/model/RunHistory.h"

namespace {

const wchar_t* const kStepNames[kRunStepCount] = {L"bluetooth", L"telephony", L"findLine",
                                                  L"openLine",  L"extension", L"equipment",
                                                  L"register",  L"powerOff"};
const wchar_t* const kStateNames[] = {L"notReached", L"made", L"failed", L"cancelled"};

const wchar_t* StateName(uint8_t state) {
    return state < sizeof kStateNames / sizeof kStateNames[0] ? kStateNames[state] : L"unknown";
}

const wchar_t* Requester(const RunRecord& r) {
    return r.requester == RequestedByRunNow ? L"runNow" : L"engine";
}

const wchar_t* Outcome(const RunRecord& r) {
    if (RunFailed(r)) return RunEnded(r) ? L"failed" : L"unfinished";
    return RunCancelled(r) ? L"cancelled" : L"done";
}

std::wstring TextLine(const RunRecord& r) {
    std::wstring line = Format(
        L"#%u %ls %-6ls action=%d option=%d exit=%d %ls |", r.sequence, Iso(r.instant).c_str(),
        Requester(r), r.action == kNoAction ? -1 : r.action, r.option, r.exitCode, Outcome(r));
    for (int step = 0; step < kRunStepCount; ++step)
        if (r.states[step] != StepNotReached)
            line += Format(L" %ls=%ls(%d)", kStepNames[step], StateName(r.states[step]),
                           r.results[step]);
    return line + L"\n";
}

std::wstring JsonRun(const RunRecord& r) {
    std::wstring json = Format(L"{\"sequence\": %u, \"instant\": \"%ls\", \"requester\": \"%ls\", ",
                               r.sequence, Iso(r.instant).c_str(), Requester(r));
    json += r.action == kNoAction ? L"\"action\": null, " : Format(L"\"action\": %u, ", r.action);
    json += Format(L"\"option\": %d, \"exitCode\": %d, \"finished\": %ls, \"failed\": %ls, "
                   L"\"steps\": {",
                   r.option, r.exitCode, r.finished ? L"true" : L"false",
                   RunFailed(r) ? L"true" : L"false");
    for (int step = 0; step < kRunStepCount; ++step)
        json += Format(L"%ls\"%ls\": {\"state\": \"%ls\", \"result\": %d}", step ? L", " : L"",
                       kStepNames[step], StateName(r.states[step]), r.results[step]);
    return json + L"}}";
}

} // namespace

int InspectHistory(const std::wstring& path, bool json, FILE* out, FILE* err) {
    std::vector<unsigned char> bytes(kHistoryFileSize);
    FILE* file = OpenFile(path.c_str(), L"rb");
    std::wstring problem;
    size_t size = 0;
    if (!file) {
        problem = L"cannot open the file";
    } else {
        size = fread(bytes.data(), 1, bytes.size(), file);
        fclose(file);
        if (!HistoryHeaderIsOurs(bytes.data(), size)) problem = L"it is not a run history";
    }
    if (!problem.empty()) {
        WriteUtf8(err, L"dzinspect: " + path + L": " + problem + L"\n");
        if (json)
            WriteUtf8(out, L"{\"file\": " + JsonString(path) + L", \"error\": " +
                               JsonString(problem) + L"}\n");
        return file ? kInspectRefused : kInspectMissing;
    }
    const std::vector<RunRecord> runs = ParseRunHistory(bytes.data(), size);
    std::wstring text = json ? L"{\"file\": " + JsonString(path) + L", \"runs\": ["
                             : path + Format(L": %u runs, newest first\n", unsigned(runs.size()));
    for (size_t i = 0; i < runs.size(); ++i)
        text += json ? (i ? L",\n  " : L"\n  ") + JsonRun(runs[i]) : TextLine(runs[i]);
    if (json) text += runs.empty() ? L"]}\n" : L"\n]}\n";
    WriteUtf8(out, text);
    return kInspectOk;
}
