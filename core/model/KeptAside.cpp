#include "core/model/KeptAside.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/FileIo.h"

namespace {

bool IsDigits(const std::wstring& text, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (text[i] < L'0' || text[i] > L'9') return false;
    return true;
}

// The counter n of a copy's name ending "yyyymmdd-hhmmss-n.why"; 0 for any other ending.
unsigned long CounterOf(const std::wstring& ending) {
    if (ending.size() < 19 || ending[8] != L'-' || ending[15] != L'-' || !IsDigits(ending, 0, 8) ||
        !IsDigits(ending, 9, 15) || !IsDigits(ending, 16, 17))
        return 0;
    wchar_t* end;
    const unsigned long n = wcstoul(ending.c_str() + 16, &end, 10);
    return *end == L'.' ? n : 0;
}

} // namespace

// The instant alone repeats: a phone whose clock goes back to a fixed time after a power loss
// named two copies alike, and the second replaced the first. The counter goes past every copy
// there, so a name is never taken twice and the lowest counter is the oldest copy.
bool KeepAside(const wchar_t* listFile, const wchar_t* file, const wchar_t* why, bool move,
               wchar_t* keptPath) {
    const std::wstring begin = std::wstring(listFile) + L".";
    std::vector<std::pair<unsigned long, std::wstring>> copies;
    for (const std::wstring& ending : NameEndingsAfter(begin.c_str()))
        if (const unsigned long n = CounterOf(ending)) copies.emplace_back(n, begin + ending);
    std::sort(copies.begin(), copies.end());
    const unsigned long next = copies.empty() ? 1 : copies.back().first + 1;

    const SYSTEMTIME now = LocalNowFields();
    wchar_t kept[300];
    const int n =
        swprintf(kept, 300, L"%ls%04u%02u%02u-%02u%02u%02u-%lu.%ls", begin.c_str(), now.wYear,
                 now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, next, why);
    if (n <= 0 || n >= 300 || FileExists(kept)) return false;
    if (!(move ? ReplaceFileWith(file, kept) : CopyFilePath(file, kept))) return false;
    for (size_t i = 0; i + kKeptAsideCopies <= copies.size(); ++i)
        DeleteFilePath(copies[i].second.c_str());
    if (keptPath) wcscpy(keptPath, kept);
    return true;
}
