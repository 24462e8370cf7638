#pragma once
// The model's view of the screen: the entry editor and the action bitmaps. The editor is a
// dialog of the user interface and the bitmaps are the program's resources; the program lends
// both to the list it shows (StorageList::screen), and each entry reaches them through its
// owner, so the portable core builds without any window code and holds no global for them.
// An entry without a screen has no bitmap, and no editor can be made: Edit ends as cancelled.
#include <cstdint>

#include "platform/core/Win32Core.h"

class StorageItem;

constexpr int kEditDone = 1;     // the platform's IDOK
constexpr int kEditCanceled = 2; // the platform's IDCANCEL

class EntryEditor {
  public:
    virtual ~EntryEditor() = default;
    // Runs the dialog modally over parent; writes into entry only on Done. 1 Done, 2 Cancel.
    virtual int RunModal(HWND parent, StorageItem* entry) = 0;
};

// Makes an editor for the given template, offered kinds and seconds setting, or none.
using EditorFactory = EntryEditor* (*)(uint16_t templateId, uint32_t offeredKinds,
                                       int32_t showSeconds);

struct EntryScreen {
    EditorFactory storageEditor = nullptr; // the general editor of a plain entry
    EditorFactory actionEditor = nullptr;  // the action editor of a DZItem
    uint16_t actionEditorTemplate = 0;     // the action editor's dialog template
    HBITMAP powerOff = nullptr;            // resource 131
    HBITMAP phoneOff = nullptr;            // resource 132
    HBITMAP phoneOn = nullptr;             // resource 133
};
