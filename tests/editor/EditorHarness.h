#pragma once
// Drives a real editor dialog as the user would, from inside its modal loop: a script runs
// once the dialog is up, acts on it by messages and ends it with a softkey.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/SystemTimeFields.h"
#include "core/model/EntryEditor.h"

class StorageItem;

using EditorScript = std::function<void(HWND dialog)>;

// Runs editor.RunModal over entry; the script runs inside the modal loop. A dialog that the
// script leaves open is cancelled with the result kLeftOpen.
constexpr int kLeftOpen = 99;
int RunEditor(EntryEditor& editor, StorageItem& entry, const EditorScript& script);
// The same through the entry's own Edit (its CreateEditor and the installed factories).
int EditEntry(StorageItem& entry, const EditorScript& script);
// The list that lends entries under test the program's editors; EditEntry makes it the owner
// of an entry that has none.
class StorageList;
StorageList& EditorScreenList();
// Any action that opens an editor (a command of the main window); its result is returned.
int RunWithScript(const EditorScript& script, const std::function<int()>& run);

// What the user does
void SelectItem(HWND dialog, int listId, int index); // as the list box tells it
void SelectKind(HWND dialog, int32_t kind);          // the Occurs item of kind
void Click(HWND dialog, int boxId);                  // a tap on a check box
void SetPicker(HWND dialog, int pickerId, const SYSTEMTIME& value);
void PressDone(HWND dialog);                           // left softkey
void PressCancel(HWND dialog);                         // right softkey
void PressKey(HWND dialog, int controlId, WPARAM key); // focus, key down and up, as typed

// What the user sees
int TopInUnits(HWND dialog, int templateUnits); // template units to client pixels
int ClientTop(HWND dialog, int id);
bool Visible(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool Checked(HWND dialog, int id);
int Selection(HWND dialog, int listId); // -1 when none
LRESULT SelectedData(HWND dialog, int listId);
std::wstring SelectedText(HWND dialog, int listId);
int ItemCount(HWND dialog, int listId);
std::vector<LRESULT> ItemData(HWND dialog, int listId);
SYSTEMTIME PickerValue(HWND dialog, int pickerId);

// The entry's saved record, as DZItem::Write puts it into "storage.dat".
std::vector<uint8_t> SavedRecord(const StorageItem& entry);

SYSTEMTIME AsSystemTime(const FILETIME& time);
FILETIME AsFileTime(const SYSTEMTIME& time);
