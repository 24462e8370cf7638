#pragma once
// The editor of an action entry: the editor framework with this product's template, the
// Action list at the top and, under it, the Bluetooth options of the chosen action. When the
// action changes, the option rows are shown or hidden and the rows below move with them.
#include "ui/editor/StorageEditDialog.h"

class DZEditDialog : public StorageEditDialog {
  public:
    using StorageEditDialog::StorageEditDialog;

    // Shows the options of the selected action, moves the Occurs and Date rows under them and
    // lays out the rest for the selected recurrence.
    void LayoutActionRows(HWND dialogWindow);

  protected:
    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetTexts() override;
    void InitControls() override;
    void StoreValues() override;
    // Done on an active entry that would run in the same minute as another entry doing
    // something else asks whether to keep both; No keeps the editor open.
    bool Validate() override;
    StorageItem* CopyOfEntry(const StorageItem& of) const override;

  private:
    void InitOptionBoxes();
    void OnBluetoothOnClicked();

    bool rowsKnown = false; // from InitControls to the dialog's end
};
