#pragma once
// Lets the model make the editors: StorageItem::CreateEditor gets the general editor and
// DZItem::CreateEditor the action editor, from the screen that the program lends its list.
#include "core/model/EntryEditor.h"

EntryEditor* MakeStorageEditor(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds);
EntryEditor* MakeActionEditor(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds);

// Puts both editors and the action editor's template into the screen.
void InstallEditorFactories(EntryScreen* screen);
