#pragma once
// The entry editor: a modal, full-screen dialog with the softkeys Done and Cancel that edits
// one schedule entry. It writes into the entry only on Done. Derived editors bring their own
// template and add their fields through the virtual operations.
#include <windows.h>

#include <cstdint>

#include "core/model/EntryEditor.h"

class StorageEditDialog : public EntryEditor {
  public:
    StorageEditDialog(uint16_t templateId, uint32_t offeredKinds, int32_t showSeconds);

    // 1 after Done, 2 after Cancel or a failed start, -1 when the dialog cannot be created.
    int RunModal(HWND parentWindow, StorageItem* entry) override;
    // Shows the rows of kind, hides the others and stacks the visible ones from the date row
    // down.
    void LayoutControls(int32_t kind);

  protected:
    // Virtual operations, in slot order.
    virtual INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void SetTexts();
    virtual void OnDestroy();
    virtual void InitControls();
    virtual bool Validate();
    virtual void StoreValues();
    virtual void OnCancel();
    // A copy of the entry for the dialog to work on, of the entry's own kind; none when memory
    // runs out.
    virtual StorageItem* CopyOfEntry(const StorageItem& of) const;

    // Writes what the controls show into target, which starts as a copy of the entry's schedule
    // fields; the entry itself stays as it is. withOwnFields: through this editor's own
    // StoreValues (target must then be the entry's kind of item), else the framework's.
    void StoreInto(StorageItem* target, bool withOwnFields);

    uint16_t templateId;
    uint32_t offeredKinds;
    int32_t showSeconds;
    // The dialog's own copy of the entry while it runs: the controls start from it and the
    // next-run line reads it every second. A list that lost the entry meanwhile left the line
    // reading freed memory.
    StorageItem* entry = nullptr;
    // The entry the editor was opened on (not owned): written on Done, and left out when the
    // entry is compared with the others of its list.
    StorageItem* original = nullptr;
    HWND dialogWindow = nullptr;
    HWND parentWindow = nullptr;
    HWND menuBar = nullptr;

    // The bold font of the section labels, shared by the running dialog's labels.
    static HFONT sectionFont;

  private:
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    bool Start(HWND window);
    void MakeSectionFont();
    void FillControls();
    // The monthly and yearly parts below run only on a template that holds their controls: the
    // tests' own (tests/editor/EditorTest.rc); the action editor's template leaves them out.
    void FillMonthlyLists();
    void SelectMonthDay();
    void SelectMonthWeek();
    void OnRecurrenceChanged();
    void OnMonthlyTypeChanged();
    void StoreMonthly();
    // The line below the last control that tells when the entry as set runs next
    // (NextRunLine.cpp).
    void CreateNextRunLine();
    void UpdateNextRun();
    INT_PTR NextRunColours(HDC dc, HWND control) const;

    int32_t monthlyType = 0; // the monthly rule the layout shows: the entry's, then the user's
    bool neverRuns = false;  // the next-run line shows its warning
};
