#include "core/text/TextTable.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <new>

#include "platform/core/FileIo.h"
#include "platform/core/Win32Core.h"
#include "platform/core/BoundedText.h"
#include "platform/core/ProgramDirectory.h"

TextTable g_textTable;

namespace {

constexpr size_t kLineSize = 2000;    // one piece of a line: 1999 characters and the terminator
constexpr int kLanguageNameSize = 50; // the English language name with its terminator
const wchar_t kDefaultSection[] = L"[Default]";
const wchar_t kUndefined[] = L"<undefined>";

// "local.dat" is UTF-16 little-endian on every build, so it is read as 16-bit units rather
// than through the C runtime's wide streams, whose idea of a wide character differs between
// the device and this machine (where wchar_t has 32 bits). A dangling odd byte ends the file.
bool ReadUnit(FILE* file, wchar_t* unit) {
    const int low = getc(file);
    if (low == EOF) return false;
    const int high = getc(file);
    if (high == EOF) return false;
    *unit = static_cast<wchar_t>(static_cast<uint16_t>(low | (high << 8)));
    return true;
}

// Reads up to and including the next line feed, at most size - 1 characters: a longer line
// comes in pieces. False at the end of the file with nothing read.
bool ReadLine(FILE* file, wchar_t* line, size_t size) {
    size_t n = 0;
    wchar_t unit;
    while (n + 1 < size && ReadUnit(file, &unit)) {
        line[n++] = unit;
        if (unit == L'\n') break;
    }
    line[n] = L'\0';
    return n > 0;
}

// Control characters, blanks and line ends go from the end; the start of a line stays.
size_t TrimEnd(wchar_t* line) {
    size_t n = wcslen(line);
    while (n > 0 && static_cast<uint32_t>(line[n - 1]) <= 32)
        line[--n] = L'\0';
    return n;
}

bool IsSectionHeader(const wchar_t* line, size_t length) {
    return length > 0 && line[0] == L'[' && line[length - 1] == L']';
}

// Section names hold language names ("[Norwegian Bokmål]") and keys may be any word: both
// compare as the platform's case-insensitive ordinal comparison does, for every letter.
bool EqualNoCase(const wchar_t* a, const wchar_t* b) {
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Each backslash followed by "n" becomes a line feed. One pass from the left finds the same
// pairs as searching again from the start after each change: the line feed put in can
// neither end nor start another pair.
void ExpandLineBreaks(wchar_t* value) {
    wchar_t* out = value;
    for (const wchar_t* in = value; *in; ++in) {
        if (in[0] == L'\\' && in[1] == L'n') {
            *out++ = L'\n';
            ++in;
        } else {
            *out++ = *in;
        }
    }
    *out = L'\0';
}

wchar_t* CopyText(const wchar_t* text, size_t length) {
    wchar_t* copy = new (std::nothrow) wchar_t[length + 1];
    if (!copy) return nullptr;
    wmemcpy(copy, text, length);
    copy[length] = L'\0';
    return copy;
}

void FreeEntry(TextEntry* entry) {
    delete[] entry->key;
    delete[] entry->value;
    delete entry;
}

} // namespace

TextTable::~TextTable() {
    FreeEntries();
}

void TextTable::FreeEntries() {
    while (head) {
        TextEntry* next = head->next;
        FreeEntry(head);
        head = next;
    }
    tail = nullptr;
}

void UserLanguageName(wchar_t* name, size_t size) {
    if (size == 0) return;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, name, static_cast<int>(size)) <= 0)
        name[0] = L'\0';
}

bool TextTable::Load() {
    wchar_t language[kLanguageNameSize];
    UserLanguageName(language, kLanguageNameSize);
    wchar_t wanted[1 + kLanguageNameSize + 1];
    if (language[0])
        BoundedText(wanted, sizeof wanted / sizeof wanted[0]).Add(L"[").Add(language).Add(L"]");
    else
        CopyCut(wanted, sizeof wanted / sizeof wanted[0], kDefaultSection);

    wchar_t path[MAX_PATH];
    ProgramDirectory(path);
    const size_t used = wcslen(path);
    const wchar_t fileName[] = L"local.dat";
    if (used + wcslen(fileName) >= MAX_PATH) return false;
    wcscpy(path + used, fileName);
    return LoadFrom(path, wanted);
}

bool TextTable::LoadFrom(const wchar_t* path, const wchar_t* wantedSection) {
    FILE* file = OpenFile(path, L"rb");
    if (!file) return false;

    wchar_t line[kLineSize];
    wchar_t byteOrderMark;
    ReadUnit(file, &byteOrderMark); // the first character is dropped unseen
    // Texts of an earlier load are replaced, not leaked; a file that can't be opened leaves
    // them as they were.
    FreeEntries();
    bool inOwnSection = false;
    bool inDefault = true; // lines before the first header are default lines

    while (ReadLine(file, line, kLineSize)) {
        const size_t length = TrimEnd(line);
        if (IsSectionHeader(line, length)) {
            if (inOwnSection) break; // the language's section has ended
            if (EqualNoCase(line, wantedSection)) {
                FreeEntries();
                inOwnSection = true;
                inDefault = false;
            } else if (EqualNoCase(line, kDefaultSection)) {
                FreeEntries();
                inDefault = true;
                inOwnSection = false;
            } else {
                inOwnSection = inDefault = false;
            }
            continue;
        }
        if (!inOwnSection && !inDefault) continue;
        wchar_t* separator = wcsstr(line, L", ");
        if (!separator) continue;
        if (!Append(line, static_cast<size_t>(separator - line), separator + 2)) {
            fclose(file);
            return false;
        }
    }
    fclose(file);
    return true;
}

bool TextTable::Append(const wchar_t* key, size_t keyLength, wchar_t* value) {
    ExpandLineBreaks(value);
    TextEntry* entry = new (std::nothrow) TextEntry{nullptr, nullptr, nullptr};
    if (!entry) return false;
    entry->key = CopyText(key, keyLength);
    entry->value = CopyText(value, wcslen(value));
    if (!entry->key || !entry->value) {
        FreeEntry(entry);
        return false;
    }
    if (tail)
        tail->next = entry;
    else
        head = entry;
    tail = entry;
    return true;
}

const wchar_t* TextTable::Lookup(const wchar_t* key) const {
    if (key) {
        for (const TextEntry* entry = head; entry; entry = entry->next)
            if (EqualNoCase(entry->key, key)) return entry->value;
    }
    return kUndefined;
}
