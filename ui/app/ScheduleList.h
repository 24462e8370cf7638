#pragma once
// The schedule list: an owner-drawn list view covering the main window, one row per entry.
// Rows hold plain pointers to the entry list's entries and own nothing; every text is fetched
// from the entry each time its row is drawn.
#include <windows.h>
#include <commctrl.h>

#include <unordered_set>

class StorageItem;
class StorageList;

// Draws an action bitmap at left + 2, centred in the height from top, its key colour
// transparent; answers the width it took (the bitmap's and one pixel), 0 with no bitmap.
int DrawActionIcon(HDC dc, int left, int top, int height, HBITMAP bitmap);

class ListViewEx {
  public:
    ListViewEx() = default;
    ~ListViewEx();
    ListViewEx(const ListViewEx&) = delete;
    ListViewEx& operator=(const ListViewEx&) = delete;

    bool CreateListView(HWND parentWindow);
    void DestroyListView();

    // Makes the rows the entries of `entries` in their display order, the rows in view staying
    // where they were, and selects the row of `selected`; when that entry is not among them,
    // the row at `fallbackRow` (the last one when fewer remain). Every change to the entries
    // reaches the screen through here: no command adds, moves or removes a row itself. False
    // when the control refused a row.
    bool Follow(const StorageList& entries, const StorageItem* selected, int fallbackRow);

    bool InsertEntryRow(int index, StorageItem* entry, bool select, bool sort);
    bool DeleteRow(int index);
    void SortRows();
    bool SelectRow(int index, bool scroll);
    int GetSelectedRow() const;
    int GetRowCount() const;
    StorageItem* GetRowEntry(int index) const;

    // Paints one row into item->hDC; WM_DRAWITEM comes here, and so can a test with a memory
    // device context.
    void DrawRow(const DRAWITEMSTRUCT* item) const;

    // The single column as wide as the visible area, left of a vertical scroll bar if any.
    void FitColumnToClient() const;

    // Draws every row afresh, and sets the timer for the next instant at which a row's mark
    // changes (a one-time entry passes): the row is drawn again then, not at the next key.
    void Repaint() const;

    HWND ListWindow() const { return listView; }
    int RowHeight() const { return rowHeight; }
    HFONT RegularFont() const { return fontRegular; }
    // The object that serves the list control list, or null.
    static const ListViewEx* OfListWindow(HWND list);

    static LRESULT CALLBACK ParentSubclassProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    static int CALLBACK CompareRows(LPARAM entry1, LPARAM entry2, LPARAM sortParameter);

  private:
    bool RowsOverflow() const; // the rows are taller than the list's visible area
    bool AddRow(int index, StorageItem* entry, bool select); // the control's insert alone
    // The steps of Follow. Removes the rows whose entry is not in inList, and any second row of
    // an entry; answers the entries that keep their row.
    std::unordered_set<const StorageItem*>
    RemoveRowsNotIn(const std::unordered_set<const StorageItem*>& inList);
    // Selects the entry's row; without one, and with no row selected, the row at fallbackRow.
    void SelectEntryOrRow(const StorageItem* entry, int fallbackRow);
    int RowOf(const StorageItem* entry) const; // -1: no row
    void ArmMarkTimer() const;

    // The steps of DrawRow. The entry is null when the row is gone or its entry is no longer
    // in the list.
    const StorageItem* EntryToDraw(const DRAWITEMSTRUCT* item, bool* selected) const;
    void DrawSeparator(HDC dc, const RECT& box, bool selected) const;
    void DrawTexts(HDC dc, const RECT& box, int x, const StorageItem& entry) const;

    const StorageList* model = nullptr; // the list the rows last followed
    // The entries the rows point at, kept by the only functions that add and remove rows.
    std::unordered_multiset<const StorageItem*> rowEntries;
    bool subclassed = false;
    HWND parent = nullptr;
    HWND listView = nullptr;
    HFONT fontRegular = nullptr;
    HFONT fontItalic = nullptr;
    HFONT fontBold = nullptr;
    HPEN penNormal = nullptr;
    HPEN penSelected = nullptr;
    int rowHeight = 0;
};
