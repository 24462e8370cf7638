#include "ui/model/DZItem.h"

#include "ui/model/ActionBitmaps.h"
#include "ui/model/BinaryIo.h"
#include "ui/resources/resource.h"

DZItem::DZItem() : StorageItem(Weekly, 0), ActionChoice{PhoneOff, 0} {}

DZItem::DZItem(const Schedule& when, const ActionChoice& what, int32_t active)
    : StorageItem(when.kind, 0), ActionChoice(what) {
    When() = when;
    this->active = active;
}

bool DZItem::Write(FILE* file) const {
    return StorageItem::Write(file) && WriteU16(file, kActionBlockSize) && WriteU16(file, action) &&
           WriteU16(file, options);
}

bool DZItem::Read(FILE* file) {
    uint16_t size;
    return StorageItem::Read(file) && ReadU16(file, &size) && size == kActionBlockSize &&
           ReadU16(file, &action) && ReadU16(file, &options);
}

HBITMAP DZItem::ListBitmap() const {
    switch (action) {
    case PhoneOff: return g_actionBitmaps.phoneOff;
    case PhoneOn: return g_actionBitmaps.phoneOn;
    case PowerOff: return g_actionBitmaps.powerOff;
    default: return nullptr;
    }
}

long DZItem::RecordSize() const {
    return StorageItem::RecordSize() + 2 + kActionBlockSize;
}

EntryEditor* DZItem::CreateEditor() {
    return g_editorFactories.actionEditor
               ? g_editorFactories.actionEditor(IDD_ACTION_EDITOR, Next24Hours | Once | Weekly,
                                                showSeconds)
               : nullptr;
}
