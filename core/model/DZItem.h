#pragma once
// The action entry of this product: a schedule entry that switches the phone radio off or on,
// or powers the device off, with Bluetooth option bits. Its record ends with the 4-byte
// action block that the engine hands to the callback.
#include "contract/EngineContract.h"
#include "core/model/StorageItem.h"

class DZItem : public StorageItem, public ActionChoice {
  public:
    DZItem();
    // An entry made whole from its parts: the one builder of the tests, tools and scenes.
    DZItem(const Schedule& when, const ActionChoice& what, int32_t active = 1);

    bool Write(FILE* file) const override;
    bool Read(FILE* file) override;
    void FormatAction(wchar_t* buffer, size_t size) const override; // in core/text/Descriptions.cpp
    HBITMAP ListBitmap() const override;
    EntryEditor* CreateEditor() override;
    long RecordSize() const override;

    const ActionChoice& What() const { return *this; }
};
