#include "core/model/DZItem.h"

#include "core/model/BinaryIo.h"

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
    const EntryScreen* screen = Screen();
    if (!screen) return nullptr;
    switch (action) {
    case PhoneOff: return screen->phoneOff;
    case PhoneOn: return screen->phoneOn;
    case PowerOff: return screen->powerOff;
    default: return nullptr;
    }
}

long DZItem::RecordSize() const {
    return StorageItem::RecordSize() + 2 + kActionBlockSize;
}

EntryEditor* DZItem::CreateEditor() {
    const EntryScreen* screen = Screen();
    return screen && screen->actionEditor
               ? screen->actionEditor(screen->actionEditorTemplate, Next24Hours | Once | Weekly,
                                      showSeconds)
               : nullptr;
}
