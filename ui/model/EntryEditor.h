#pragma once
// The model's view of the entry editor. The editor itself is a dialog of the user interface;
// the model only creates one through a factory that the program installs at start-up, so the
// portable core builds without any window code. Without a factory no editor can be made and
// Edit ends as cancelled.
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

struct EditorFactories {
    EditorFactory storageEditor = nullptr; // the general editor of a plain entry
    EditorFactory actionEditor = nullptr;  // the action editor of a DZItem
};

extern EditorFactories g_editorFactories;
