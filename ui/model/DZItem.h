#pragma once
// The action entry of this product: a schedule entry that switches the phone radio off or on,
// or powers the device off, with Bluetooth option bits. Its record ends with the 4-byte
// action block that the engine hands to the callback.
#include "contract/EngineContract.h"
#include "ui/model/StorageItem.h"

class DZItem : public StorageItem {
  public:
    DZItem();

    bool Write(FILE* file) const override;
    bool Read(FILE* file) override;
    void FormatAction(wchar_t* buffer, size_t size) const override; // in ui/text/Descriptions.cpp
    HBITMAP ListBitmap() const override;
    EntryEditor* CreateEditor() override;
    long RecordSize() const override;

    uint16_t action = PhoneOff;
    uint16_t options = 0;
};
