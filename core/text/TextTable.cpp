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

// "local.dat" is read as UTF-16 units on every build rather than through the C runtime's wide
// streams, whose idea of a wide character differs between the device and this machine (where
// wchar_t has 32 bits). The program ships it as UTF-16 little-endian; a text editor may save it
// as UTF-8 (with or without its mark) or UTF-16 big-endian, which every text read as
// "<undefined>". The encoding is told by the file's first bytes.
class UnitReader {
  public:
    explicit UnitReader(FILE* file) : file(file) { TakeEncoding(); }
    // The next UTF-16 unit; false at the end of the file. A dangling odd byte of UTF-16 ends
    // the file; a malformed UTF-8 sequence reads as U+FFFD.
    bool Next(wchar_t* unit);

  private:
    enum Encoding { Utf16Le, Utf16Be, Utf8 };
    void TakeEncoding();
    bool NextUtf8(uint32_t* codePoint);

    FILE* file;
    Encoding encoding = Utf16Le;
    wchar_t pendingLowSurrogate = 0;
};

// With the mark FF FE, or without any mark but with the zero high byte of a little-endian
// character second, the first two bytes are the first character and are dropped unseen, as the
// shipped file has always been read. The marks of the other encodings are dropped too; their
// files without a mark lose nothing.
void UnitReader::TakeEncoding() {
    const int first = getc(file);
    const int second = getc(file);
    if (first == EOF || second == EOF || (first == 0xFF && second == 0xFE) || second == 0) return;
    if (first == 0xFE && second == 0xFF) {
        encoding = Utf16Be;
        return;
    }
    encoding = first == 0 ? Utf16Be : Utf8;
    if (first == 0xEF && second == 0xBB && getc(file) == 0xBF) return;
    rewind(file);
}

bool UnitReader::Next(wchar_t* unit) {
    if (pendingLowSurrogate) {
        *unit = pendingLowSurrogate;
        pendingLowSurrogate = 0;
        return true;
    }
    if (encoding == Utf8) {
        uint32_t codePoint;
        if (!NextUtf8(&codePoint)) return false;
        if (codePoint < 0x10000) {
            *unit = static_cast<wchar_t>(codePoint);
            return true;
        }
        codePoint -= 0x10000;                                                     // [0, 0xFFFFF]
        *unit = static_cast<wchar_t>(0xD800 + (codePoint >> 10));                 // high surrogate
        pendingLowSurrogate = static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)); // low surrogate
        return true;
    }
    const int a = getc(file);
    if (a == EOF) return false;
    const int b = getc(file);
    if (b == EOF) return false;
    const int low = encoding == Utf16Le ? a : b;
    const int high = encoding == Utf16Le ? b : a;
    *unit = static_cast<wchar_t>(static_cast<uint16_t>(low | (high << 8)));
    return true;
}

bool UnitReader::NextUtf8(uint32_t* codePoint) {
    constexpr uint32_t kReplacement = 0xFFFD;
    const int lead = getc(file);
    if (lead == EOF) return false;
    int following;
    uint32_t value;
    uint32_t least; // the smallest code point that needs this many bytes
    if (lead < 0x80) {
        *codePoint = static_cast<uint32_t>(lead);
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3, value = lead & 0x07, least = 0x10000;
    } else {
        *codePoint = kReplacement;
        return true;
    }
    for (int i = 0; i < following; ++i) {
        const int next = getc(file);
        if (next == EOF || (next & 0xC0) != 0x80) {
            // The byte that broke the sequence starts the next character.
            if (next != EOF) ungetc(next, file);
            *codePoint = kReplacement;
            return true;
        }
        value = (value << 6) | static_cast<uint32_t>(next & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    *codePoint = value < least || value > 0x10FFFF || surrogate ? kReplacement : value;
    return true;
}

// Reads up to and including the next line end, at most size - 1 characters: a longer line
// comes in pieces. A carriage return ends a line too, for files with carriage returns alone;
// the line feed after one in a CR LF pair then reads as an empty line. False at the end of the
// file with nothing read.
bool ReadLine(UnitReader& reader, wchar_t* line, size_t size) {
    size_t n = 0;
    wchar_t unit;
    while (n + 1 < size && reader.Next(&unit)) {
        line[n++] = unit;
        if (unit == L'\n' || unit == L'\r') break;
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
    UnitReader reader(file);
    // Texts of an earlier load are replaced, not leaked; a file that can't be opened leaves
    // them as they were.
    FreeEntries();
    bool inOwnSection = false;
    bool inDefault = true; // lines before the first header are default lines

    while (ReadLine(reader, line, kLineSize)) {
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
