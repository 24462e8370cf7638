#include "ui/editor/EditorFactories.h"

#include <new>

#include "ui/editor/DZEditDialog.h"
#include "ui/resources/resource.h"

// Memory exhaustion gives no editor, which the entry's Edit reports as cancelled.
EntryEditor* MakeStorageEditor(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds) {
    return new (std::nothrow) StorageEditDialog(templateId, offeredKinds, showSeconds);
}

EntryEditor* MakeActionEditor(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds) {
    return new (std::nothrow) DZEditDialog(templateId, offeredKinds, showSeconds);
}

void InstallEditorFactories(EntryScreen* screen) {
    screen->storageEditor = MakeStorageEditor;
    screen->actionEditor = MakeActionEditor;
    screen->actionEditorTemplate = IDD_ACTION_EDITOR;
}
