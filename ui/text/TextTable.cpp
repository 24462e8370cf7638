// PLACEHOLDER: replaced by the text table work.
#include "ui/text/TextTable.h"

#include "ui/text/LocalePictures.h"

TextTable g_textTable;

TextTable::TextTable() { g_localePictures.Prepare(); }
TextTable::~TextTable() { FreeEntries(); }
void TextTable::FreeEntries() {}
bool TextTable::Load() { return false; }
bool TextTable::LoadFrom(const wchar_t*, const wchar_t*) { return false; }
const wchar_t* TextTable::Lookup(const wchar_t*) const { return L"<undefined>"; }
