// Reading "local.dat": which section is taken, how lines become texts, and what the table
// answers when a text is missing or the file is not there. Every case writes its own file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/core/BoundedText.h"
#include "platform/core/FileIo.h"
#include "platform/core/Win32Core.h"
#include "platform/core/ProgramDirectory.h"
#include "core/text/TextTable.h"

namespace {

const wchar_t kUndefined[] = L"<undefined>";
const wchar_t kCaseFile[] = L"text_case.dat";

// Writes text as UTF-16 little-endian units, with the byte-order mark unless told otherwise.
void WriteTexts(const wchar_t* path, const std::wstring& text, bool byteOrderMark = true) {
    FILE* file = OpenFile(path, L"wb");
    ASSERT_NE(file, nullptr);
    std::wstring all = byteOrderMark ? L"\xFEFF" + text : text;
    for (wchar_t c : all) {
        const auto unit = static_cast<unsigned>(c);
        fputc(static_cast<int>(unit & 0xFF), file);
        fputc(static_cast<int>((unit >> 8) & 0xFF), file);
    }
    ASSERT_EQ(fclose(file), 0);
}

struct Expect {
    const wchar_t* key;
    std::wstring text;
};

struct FileCase {
    const char* name;
    std::wstring file;
    const wchar_t* wanted;
    std::vector<Expect> expects;
};

const std::wstring kThreeSections = L"[Default]\r\n"
                                    L"A, default\r\n"
                                    L"ONLY_DEFAULT, d\r\n"
                                    L"[English]\r\n"
                                    L"A, english\r\n"
                                    L"[German]\r\n"
                                    L"A, german\r\n"
                                    L"ONLY_GERMAN, g\r\n";

const FileCase kSectionCases[] = {
    {"OwnSectionAloneIsTaken",
     kThreeSections,
     L"[English]",
     {{L"A", L"english"}, {L"ONLY_DEFAULT", kUndefined}, {L"ONLY_GERMAN", kUndefined}}},
    {"SectionNamesIgnoreCase",
     L"[Default]\r\nA, default\r\n[english]\r\nA, english\r\n",
     L"[English]",
     {{L"A", L"english"}}},
    {"SectionNamesIgnoreCaseOfEveryLetter",
     L"[Default]\r\nA, default\r\n[NORWEGIAN BOKM\x00C5L]\r\nA, bokm\x00e5l\r\n",
     L"[Norwegian Bokm\x00e5l]",
     {{L"A", L"bokm\x00e5l"}}},
    {"UnknownLanguageReadsDefaultPastOthers",
     kThreeSections,
     L"[French]",
     {{L"A", L"default"}, {L"ONLY_DEFAULT", L"d"}, {L"ONLY_GERMAN", kUndefined}}},
    {"LastDefaultSectionWins",
     L"[Default]\r\nA, first\r\nB, b\r\n[German]\r\nA, g\r\n"
     L"[DEFAULT]\r\nA, second\r\n",
     L"[French]",
     {{L"A", L"second"}, {L"B", kUndefined}}},
    {"LinesBeforeFirstHeaderAreDefaults",
     L"A, early\r\n[German]\r\nA, g\r\n",
     L"[French]",
     {{L"A", L"early"}}},
    {"OwnSectionEndsAtNextHeader",
     L"[English]\r\nA, 1\r\n[Default]\r\nA, d\r\nB, d\r\n"
     L"[English]\r\nA, 2\r\n",
     L"[English]",
     {{L"A", L"1"}, {L"B", kUndefined}}},
    {"UnknownLanguageTakesFirstDefault",
     L"[Default]\r\nA, 1\r\n[Default]\r\nA, 2\r\n",
     L"[Default]",
     {{L"A", L"1"}}},
    {"LeadingBlankMakesNoHeader",
     L"[Default]\r\nA, d\r\n [English]\r\nB, b\r\n",
     L"[English]",
     {{L"A", L"d"}, {L"B", L"b"}}},
    {"TrailingBlanksAfterHeaderAreTrimmed",
     L"[Default]\r\nA, d\r\n[English] \t \x1F\r\nA, e\r\n",
     L"[English]",
     {{L"A", L"e"}}},
    {"NeitherOwnNorDefaultSection", L"[German]\r\nA, g\r\n", L"[English]", {{L"A", kUndefined}}},
};

const FileCase kLineCases[] = {
    {"CommaBlankSplitsOnce", L"KEY, a, b\r\n", L"[English]", {{L"KEY", L"a, b"}}},
    {"CommaWithoutBlankIsIgnored",
     L"A,B\r\nKEY,   \r\n",
     L"[English]",
     {{L"A", kUndefined}, {L"KEY", kUndefined}, {L"KEY,", kUndefined}}},
    {"BackslashNBecomesLineFeed",
     L"TWO, first\\nsecond\r\nEDGES, \\n\\n\r\nDOUBLED, a\\\\nb\r\nALONE, a\\ b\\\r\n",
     L"[English]",
     {{L"TWO", L"first\nsecond"},
      {L"EDGES", L"\n\n"},
      {L"DOUBLED", L"a\\\nb"},
      {L"ALONE", L"a\\ b\\"}}},
    {"LeadingBlankBelongsToKey",
     L" APP_NAME, x\r\n",
     L"[English]",
     {{L"APP_NAME", kUndefined}, {L" APP_NAME", L"x"}}},
    {"KeysIgnoreCaseAndFirstDuplicateWins",
     L"Key, 1\r\nKEY, 2\r\n",
     L"[English]",
     {{L"KEY", L"1"}, {L"key", L"1"}}},
    {"KeysIgnoreCaseOfEveryLetterOneByOne",
     L"\x00C4NDERN, de\r\n\x03A3\x0395\x039B\x0399\x0394\x0391, el\r\n"
     L"\x0414\x0410\x0422\x0410, ru\r\nSTRASSE, ss\r\n",
     L"[English]",
     {{L"\x00e4ndern", L"de"},
      {L"\x03c3\x03b5\x03bb\x03b9\x03b4\x03b1", L"el"},
      {L"\x0434\x0430\x0442\x0430", L"ru"},
      {L"stra\x00DF"
       L"e",
       kUndefined}}}, // letters fold one for one, never into two
    {"ValueEndIsTrimmedButNotItsStart",
     L"K,  v \t\x01\r\nU, Men\x00FC\r\nE, \x20AC\r\n",
     L"[English]",
     {{L"K", L" v"}, {L"U", L"Men\x00FC"}, {L"E", L"\x20AC"}}},
    {"LineFeedOrCarriageReturnAloneEndsLine",
     L"A, 1\nB, 2\rC, 3\n",
     L"[English]",
     {{L"A", L"1"}, {L"B", L"2"}, {L"C", L"3"}}},
    {"LastLineWithoutLineEnd", L"A, 1\r\nB, 2", L"[English]", {{L"B", L"2"}}},
    {"OnlyByteOrderMark", L"", L"[English]", {{L"A", kUndefined}}},
};

class SectionChoice : public testing::TestWithParam<FileCase> {};
class TextLines : public testing::TestWithParam<FileCase> {};

void CheckCase(const FileCase& c) {
    WriteTexts(kCaseFile, c.file);
    TextTable table;
    ASSERT_TRUE(table.LoadFrom(kCaseFile, c.wanted));
    for (const Expect& e : c.expects)
        EXPECT_EQ(table.Lookup(e.key), e.text) << "key " << e.key;
    DeleteFilePath(kCaseFile);
}

TEST_P(SectionChoice, TakesTheRightLines) {
    CheckCase(GetParam());
}
TEST_P(TextLines, BecomeTheRightTexts) {
    CheckCase(GetParam());
}

std::string CaseName(const testing::TestParamInfo<FileCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(TextTable, SectionChoice, testing::ValuesIn(kSectionCases), CaseName);
INSTANTIATE_TEST_SUITE_P(TextTable, TextLines, testing::ValuesIn(kLineCases), CaseName);

TEST(TextTable, FileWithoutByteOrderMarkLosesItsFirstCharacter) {
    WriteTexts(kCaseFile, L"A, x\r\nB, y\r\n", false);
    TextTable table;
    ASSERT_TRUE(table.LoadFrom(kCaseFile, L"[English]"));
    EXPECT_STREQ(table.Lookup(L"A"), kUndefined);
    EXPECT_STREQ(table.Lookup(L""), L"x"); // what is left of the line: ", x"
    EXPECT_STREQ(table.Lookup(L"B"), L"y");
    DeleteFilePath(kCaseFile);
}

// UTF-16 units of text in either byte order, for files written byte by byte.
std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
    std::string bytes;
    for (wchar_t c : text) {
        const auto unit = static_cast<unsigned>(c);
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// "local.dat" as a text editor may save it; every file holds A and B in the same words.
TEST(TextTable, FilesInOtherEncodingsReadAsTheirTexts) {
    const std::wstring texts = L"A, \x00C4\x20AC \xD83D\xDE00\r\nB, x\r\n";
    const std::string utf8 = "A, \xC3\x84\xE2\x82\xAC \xF0\x9F\x98\x80\r\nB, x\r\n";
    const struct {
        const char* name;
        std::string bytes;
        const wchar_t* a;
    } files[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, L"\x00C4\x20AC \xD83D\xDE00"},
        {"UTF-8 without a mark", utf8, L"\x00C4\x20AC \xD83D\xDE00"},
        {"UTF-16 big-endian with its mark", Utf16Bytes(L"\xFEFF" + texts, true),
         L"\x00C4\x20AC \xD83D\xDE00"},
        {"UTF-16 big-endian without a mark", Utf16Bytes(texts, true), L"\x00C4\x20AC \xD83D\xDE00"},
        {"carriage returns alone",
         Utf16Bytes(L"\xFEFF"
                    L"A, 1\rB, x\r",
                    false),
         L"1"},
        {"UTF-8 cut short or overlong", "A, \xC3(\xC0\xAF\xE2\x82\r\nB, x\r\n",
         L"\xFFFD(\xFFFD\xFFFD\xFFFD"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        FILE* file = OpenFile(kCaseFile, L"wb");
        ASSERT_NE(file, nullptr);
        fwrite(f.bytes.data(), 1, f.bytes.size(), file);
        fclose(file);
        TextTable table;
        ASSERT_TRUE(table.LoadFrom(kCaseFile, L"[English]"));
        EXPECT_EQ(std::wstring(table.Lookup(L"A")), f.a);
        EXPECT_STREQ(table.Lookup(L"B"), L"x");
    }
    DeleteFilePath(kCaseFile);
}

TEST(TextTable, MissingFileFailsAndEveryLookupIsUndefined) {
    DeleteFilePath(kCaseFile);
    TextTable table;
    EXPECT_FALSE(table.LoadFrom(kCaseFile, L"[English]"));
    EXPECT_STREQ(table.Lookup(L"APP_NAME"), kUndefined);
    EXPECT_STREQ(table.AppName(), kUndefined);
    EXPECT_STREQ(table.Lookup(nullptr), kUndefined);
}

TEST(TextTable, EmptyFileAndDanglingByteLoadWithoutTexts) {
    for (const char* bytes : {"", "\xFF",
                              "\xFF\xFE"
                              "A"}) {
        FILE* file = OpenFile(kCaseFile, L"wb");
        ASSERT_NE(file, nullptr);
        fputs(bytes, file);
        fclose(file);
        TextTable table;
        EXPECT_TRUE(table.LoadFrom(kCaseFile, L"[English]"));
        EXPECT_STREQ(table.Lookup(L"A"), kUndefined);
    }
    DeleteFilePath(kCaseFile);
}

// A line of more than 1999 characters comes in pieces of 1999, each a line of its own.
TEST(TextTable, LongLineIsReadInPieces) {
    const std::wstring first = L"LONG, " + std::wstring(1993, L'x'); // exactly 1999 characters
    const std::wstring huge(20000, L'y');                            // no line feed for long
    WriteTexts(kCaseFile, first + L"TAIL, end\r\n" + huge + L", z\r\nLAST, ok\r\n");
    TextTable table;
    ASSERT_TRUE(table.LoadFrom(kCaseFile, L"[English]"));
    EXPECT_EQ(table.Lookup(L"LONG"), std::wstring(1993, L'x'));
    EXPECT_STREQ(table.Lookup(L"TAIL"), L"end");
    // The last piece of the long line starts with y's and ends in ", z".
    EXPECT_EQ(table.Lookup(std::wstring(20000 % 1999, L'y').c_str()), std::wstring(L"z"));
    EXPECT_STREQ(table.Lookup(L"LAST"), L"ok");
    DeleteFilePath(kCaseFile);
}

TEST(TextTable, LoadingAgainReplacesTextsAndAFailedOpenKeepsThem) {
    TextTable table;
    WriteTexts(kCaseFile, L"A, 1\r\nB, 1\r\n");
    ASSERT_TRUE(table.LoadFrom(kCaseFile, L"[English]"));
    WriteTexts(kCaseFile, L"A, 2\r\n");
    ASSERT_TRUE(table.LoadFrom(kCaseFile, L"[English]"));
    EXPECT_STREQ(table.Lookup(L"A"), L"2");
    EXPECT_STREQ(table.Lookup(L"B"), kUndefined);
    DeleteFilePath(kCaseFile);
    EXPECT_FALSE(table.LoadFrom(kCaseFile, L"[English]"));
    EXPECT_STREQ(table.Lookup(L"A"), L"2");
}

// Load finds "local.dat" beside the running program and takes the section of the user's
// language as the platform names it.
TEST(TextTable, LoadTakesProgramDirectoryFileAndUserLanguage) {
    wchar_t language[50];
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, language, 50), 0);
    wchar_t path[MAX_PATH];
    ProgramDirectory(path);
    const std::wstring file = std::wstring(path) + L"local.dat";
    WriteTexts(file.c_str(),
               L"[Default]\r\nA, default\r\n[" + std::wstring(language) + L"]\r\nA, own\r\n");
    TextTable table;
    EXPECT_TRUE(table.Load());
    EXPECT_STREQ(table.Lookup(L"A"), L"own");
    DeleteFilePath(file.c_str());
    TextTable missing;
    EXPECT_FALSE(missing.Load());
}

// A format from local.dat takes its one number at its first %d, keeps every other directive as
// text, and is cut to the buffer like any text.
TEST(BoundedText, AFormatTakesItsOneNumber) {
    const struct {
        const wchar_t* format;
        int value;
        size_t size;
        const wchar_t* text;
    } rows[] = {
        {L"The phone switches off in %d s", 30, 64, L"The phone switches off in 30 s"},
        {L"%d%d %s", -7, 64, L"-7%d %s"},
        {L"no number", 5, 64, L"no number"},
        {L"cut %d here", 12345, 8, L"cut 123"},
    };
    for (const auto& row : rows) {
        wchar_t buffer[64];
        BoundedText(buffer, row.size).AddWithNumber(row.format, row.value);
        EXPECT_STREQ(buffer, row.text) << row.format;
    }
}

} // namespace
