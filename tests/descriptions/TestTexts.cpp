#include "TestTexts.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/core/FileIo.h"
#include "core/text/TextTable.h"

namespace {

void PutUnit(FILE* file, unsigned unit) {
    fputc(static_cast<int>(unit & 0xFF), file);
    fputc(static_cast<int>(unit >> 8), file);
}

void PutText(FILE* file, const std::wstring& text) {
    for (wchar_t c : text)
        PutUnit(file, static_cast<unsigned>(c));
}

// One file per process: ctest runs this executable in several locales at once.
std::wstring TestFilePath() {
    static const std::string unique =
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("dz-descriptions-" + unique + "-local.dat");
    std::wstring core = path.wstring();
    for (wchar_t& c : core)
        if (c == L'/') c = L'\\';
    return core;
}

} // namespace

const TextLines& DescriptionTexts() {
    static const TextLines lines = {
        {L"MONDAY", L"Monday"},
        {L"TUESDAY", L"Tuesday"},
        {L"WEDNESDAY", L"Wednesday"},
        {L"THURSDAY", L"Thursday"},
        {L"FRIDAY", L"Friday"},
        {L"SATURDAY", L"Saturday"},
        {L"SUNDAY", L"Sunday"},
        {L"DLG_MONTHLY_WEEK_FIRST", L"first"},
        {L"DLG_MONTHLY_WEEK_SECOND", L"second"},
        {L"DLG_MONTHLY_WEEK_THIRD", L"third"},
        {L"DLG_MONTHLY_WEEK_FOURTH", L"fourth"},
        {L"DLG_MONTHLY_WEEK_LAST", L"last"},
        {L"DLG_MONTHLY_LASTDAY", L"last day"},
        {L"DLG_MONTHLY_LASTDAY-1", L"last-1"},
        {L"DLG_MONTHLY_LASTDAY-2", L"last-2"},
        {L"DLG_MONTHLY_LASTDAY-3", L"last-3"},
        {L"DAY_STRING", L"day"},
        {L"WEEKLY_TEXT", L"weekly"},
        {L"NEXT24H_TEXT", L"within 24h at"},
        {L"MONTHLY_SHORT_TEXT", L"monthly"},
        {L"YEARLY_TEXT", L"j\x00e4hrlich"},
        {L"SHORT_MONDAY", L"M"},
        {L"SHORT_TUESDAY", L"T"},
        {L"SHORT_WEDNESDAY", L"W"},
        {L"SHORT_THURSDAY", L"T"},
        {L"SHORT_FRIDAY", L"F"},
        {L"SHORT_SATURDAY", L"S"},
        {L"SHORT_SUNDAY", L"S"},
        {L"MIDDLE_MONDAY", L"Mon"},
        {L"MIDDLE_TUESDAY", L"Tue"},
        {L"MIDDLE_WEDNESDAY", L"Wed"},
        {L"MIDDLE_THURSDAY", L"Thu"},
        {L"MIDDLE_FRIDAY", L"Fri"},
        {L"MIDDLE_SATURDAY", L"Sat"},
        {L"MIDDLE_SUNDAY", L"Sun"},
        {L"SHORT_MONTH_1", L"J"},
        {L"SHORT_MONTH_2", L"F"},
        {L"SHORT_MONTH_3", L"M"},
        {L"SHORT_MONTH_4", L"A"},
        {L"SHORT_MONTH_5", L"M"},
        {L"SHORT_MONTH_6", L"J"},
        {L"SHORT_MONTH_7", L"J"},
        {L"SHORT_MONTH_8", L"A"},
        {L"SHORT_MONTH_9", L"S"},
        {L"SHORT_MONTH_10", L"O"},
        {L"SHORT_MONTH_11", L"N"},
        {L"SHORT_MONTH_12", L"D"},
        {L"DLG_PHONE_OFF", L"Phone off"},
        {L"DLG_PHONE_ON", L"Phone on"},
        {L"DLG_POWER_OFF", L"Power off"},
        {L"DLG_BT_SHORT", L"BT"},
        {L"DLG_BT_OFF_SHORT", L"off"},
        {L"DLG_BT_ON_SHORT", L"on"},
        {L"DLG_BT_DISC_SHORT", L"visible"},
    };
    return lines;
}

bool LoadTestTexts(const TextLines& lines) {
    const std::wstring path = TestFilePath();
    FILE* file = OpenFile(path.c_str(), L"wb");
    if (!file) return false;
    PutUnit(file, 0xFEFF);
    PutText(file, L"[Test]\r\n");
    for (const auto& line : lines)
        PutText(file, line.first + L", " + line.second + L"\r\n");
    fclose(file);
    const bool loaded = g_textTable.LoadFrom(path.c_str(), L"[Test]");
    DeleteFilePath(path.c_str());
    return loaded;
}
