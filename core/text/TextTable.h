#pragma once
// The localized texts of the program, read from "local.dat" beside it (UTF-16 either way round
// or UTF-8): the section of the user's language, or else "[Default]". Looked up by key; a
// missing key gives "<undefined>".
#include <cstddef>

struct TextEntry {
    wchar_t* key;
    wchar_t* value;
    TextEntry* next;
};

class TextTable {
  public:
    TextTable() = default;
    ~TextTable();
    TextTable(const TextTable&) = delete;
    TextTable& operator=(const TextTable&) = delete;

    // The program directory's "local.dat", section of the user's language. Texts of an
    // earlier load are freed once the file is open; false when it can't be opened or memory
    // runs out (the texts read so far stay).
    bool Load();
    // A given file and wanted section name such as L"[English]" (tools and tests).
    bool LoadFrom(const wchar_t* path, const wchar_t* wantedSection);

    const wchar_t* Lookup(const wchar_t* key) const;
    // No text at all: the file held no section that could be read.
    bool Empty() const { return head == nullptr; }
    const wchar_t* AppName() const { return Lookup(L"APP_NAME"); }

  private:
    void FreeEntries();
    // Takes key (keyLength characters) and value (whose line breaks it expands in place).
    bool Append(const wchar_t* key, size_t keyLength, wchar_t* value);
    TextEntry* head = nullptr;
    TextEntry* tail = nullptr;
};

// The English name of the user's language ("German"): it names the section of "local.dat" and
// the help page of that language. Empty when the locale does not say.
void UserLanguageName(wchar_t* name, size_t size);

// The process-wide text table; text(key) of the program is g_textTable.Lookup(key).
extern TextTable g_textTable;

inline const wchar_t* Text(const wchar_t* key) {
    return g_textTable.Lookup(key);
}
