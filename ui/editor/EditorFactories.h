#pragma once
// Lets the model make the editors: StorageItem::CreateEditor gets the general editor and
// DZItem::CreateEditor the action editor. The program installs them once at start-up.
#include "ui/model/EntryEditor.h"

EntryEditor* MakeStorageEditor(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds);
EntryEditor* MakeActionEditor(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds);

void InstallEditorFactories();
