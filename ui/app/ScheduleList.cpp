#include "ui/app/ScheduleList.h"

#include <algorithm>
#include <unordered_set>

#include "platform/shell/PaintThrough.h"
#include "platform/shell/SmartphoneShell.h"
#include "ui/app/AppState.h"
#include "platform/shell/MakeFont.h"
#include "core/model/Firings.h"
#include "core/model/DZItem.h"
#include "core/model/LastRun.h"
#include "core/model/StorageList.h"
#include "ui/resources/resource.h"
#include "platform/core/BoundedText.h"
#include "core/text/TextTable.h"

namespace {

// The list's subclass of its parent; its reference data is the list's object.
constexpr UINT_PTR kParentSubclassId = 0x4C56;
constexpr wchar_t kFontFace[] = L"Segoe Condensed";
constexpr COLORREF kIconKeyColour = RGB(111, 254, 12);
constexpr COLORREF kFailureMarkColour = RGB(208, 0, 0);
constexpr int kFailureMarkSize = 9; // pixels across: a third of the bitmap
constexpr size_t kTextSize = 260;
// The mark timer's id on the parent (the main window's own timers count from 1), and its
// longest wait: it looks again at least this often, since the clock may be set meanwhile.
constexpr UINT_PTR kMarkTimer = 0x4D4B;
constexpr uint64_t kMarkTimerLongestMs = 3600 * 1000;

// Looked up once when the list is created, then kept for every draw.
const wchar_t* g_offPrefix = L"";
const wchar_t* g_outdatedPrefix = L"";
const wchar_t* g_neverPrefix = L"";

// How a row shows its entry's state: the prefix of the first line and its font.
struct RowLook {
    const wchar_t* prefix; // null: the action text alone
    bool boldUpperLine;
    bool italicSingleLine;
};

// The mark comes from the rule the engine fires by, so a row is marked exactly when the engine
// will not run its entry again.
RowLook LookOf(const StorageItem& entry, EntryMark mark) {
    if (!entry.active) return {g_offPrefix, false, true};
    if (mark == EntryMark::Past) return {g_outdatedPrefix, false, false};
    if (mark == EntryMark::NeverRuns) return {g_neverPrefix, false, false};
    return {nullptr, true, false};
}

// A selected row lies on the highlight colour; any other on the control's own background.
void DrawBackground(HDC dc, const RECT& box, bool selected) {
    if (selected) FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

constexpr UINT_PTR kListSubclassId = 0x4C56;
constexpr int kHintMargin = 12;

// An empty list says how to make the first entry, where its first row would stand and below,
// wrapped to the width.
void PaintEmptyList(HWND list, HDC dc) {
    const ListViewEx* self = ListViewEx::OfListWindow(list);
    RECT client;
    const HGDIOBJ oldFont = ClearForText(list, dc, self ? self->RegularFont() : nullptr, &client);
    RECT area{client.left + kHintMargin, client.top + kHintMargin, client.right - kHintMargin,
              client.bottom - kHintMargin};
    DrawTextW(dc, Text(L"DLG_EMPTY_LIST"), -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
}

// The list control's own keys and painting, where the phone's differ from the desktop's:
//   Back      leaves the program for the home screen, as Back does on a program's first
//             screen; the program keeps running and a second start brings it back
//   no rows   the hint instead of an empty white area
LRESULT CALLBACK ListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        ShowWindow(GetParent(list), SW_MINIMIZE);
        return 0;
    }
    if ((message == WM_PAINT || message == WM_PRINTCLIENT) &&
        SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0 &&
        PaintThrough(list, message, wParam, PaintEmptyList))
        return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, ListSubclassProc, id);
    return DefSubclassProc(list, message, wParam, lParam);
}

template <class Handle> void DeleteHandle(Handle& handle) {
    if (handle) DeleteObject(handle);
    handle = nullptr;
}

// Whether the entry's last run, matched by its action block and a firing, failed.
bool LastRunFailed(const StorageItem& entry) {
    const DZItem* action = dynamic_cast<const DZItem*>(&entry);
    const RunRecord* run = action ? LastRunOf(*action, g_runHistory) : nullptr;
    return run && RunFailed(*run);
}

// A red dot over the lower right corner of the action bitmap, whose right edge is at right and
// whose middle is at middle: the bitmap stays recognisable, and the mark keeps its place in
// every row.
void DrawFailureMark(HDC dc, int right, int middle) {
    const HBRUSH brush = CreateSolidBrush(kFailureMarkColour);
    const HGDIOBJ oldBrush = SelectObject(dc, brush);
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    Ellipse(dc, right - kFailureMarkSize, middle + 14 - kFailureMarkSize, right + 1, middle + 15);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

// Under Wine every message through a subclass asks the window server for the subclass's window
// property: each added row cost two such round trips (the insert, and its notice to the
// parent), which made a start with 1,000 entries take more than twice as long. While rows are
// added with redrawing suspended, neither subclass has anything to do (no key, paint or row
// drawing comes), so both step aside meanwhile.
class SubclassesAside {
  public:
    SubclassesAside(HWND list, HWND parent, DWORD_PTR self)
        : list(list), parent(parent), self(self) {
        RemoveWindowSubclass(list, ListSubclassProc, kListSubclassId);
        RemoveWindowSubclass(parent, &ListViewEx::ParentSubclassProc, kParentSubclassId);
    }
    ~SubclassesAside() {
        SetWindowSubclass(parent, &ListViewEx::ParentSubclassProc, kParentSubclassId, self);
        SetWindowSubclass(list, ListSubclassProc, kListSubclassId, 0);
    }
    SubclassesAside(const SubclassesAside&) = delete;
    SubclassesAside& operator=(const SubclassesAside&) = delete;

  private:
    HWND list;
    HWND parent;
    DWORD_PTR self;
};

} // namespace

ListViewEx::~ListViewEx() {
    if (listView || subclassed) DestroyListView();
}

bool ListViewEx::CreateListView(HWND parentWindow) {
    if (listView || subclassed) DestroyListView();

    // The control asks its parent for the row height (WM_MEASUREITEM) while it is being
    // created, so the subclass and rowHeight are in place before it exists. The subclass carries
    // this object as its reference data: the parent's messages reach it without a lookup.
    parent = parentWindow;
    subclassed = SetWindowSubclass(parent, &ListViewEx::ParentSubclassProc, kParentSubclassId,
                                   reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    if (!subclassed) return false;

    g_offPrefix = Text(L"PREFIX_OFF");
    g_outdatedPrefix = Text(L"PREFIX_OUTDATED");
    g_neverPrefix = Text(L"PREFIX_NEVER");

    penNormal = CreatePen(PS_DASH, 1, GetSysColor(COLOR_WINDOWTEXT));
    penSelected = CreatePen(PS_DASH, 1, GetSysColor(COLOR_HIGHLIGHTTEXT));

    HDC screen = GetDC(nullptr);
    HGDIOBJ systemFont = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    const LONG h = metrics.tmHeight;
    fontRegular = MakeFont(kFontFace, FW_NORMAL, 8 * h / 10, false);
    fontItalic = MakeFont(kFontFace, FW_NORMAL, 9 * h / 10, true);
    fontBold = MakeFont(kFontFace, FW_BOLD, 9 * h / 10, false);
    SelectObject(screen, fontBold);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, systemFont);
    rowHeight = 2 * metrics.tmHeight + 3;
    ReleaseDC(nullptr, screen);

    RECT client;
    GetClientRect(parent, &client);
    listView = CreateWindowExW(0, WC_LISTVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_NOCOLUMNHEADER |
                                   LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_REPORT,
                               client.left, client.top, client.right - client.left,
                               client.bottom - client.top, parent,
                               reinterpret_cast<HMENU>(IDC_SCHEDULE_LIST), g_instance, nullptr);
    if (!listView) {
        DestroyListView();
        return false;
    }
    // The control's own word for its object (the list view leaves it to its owner).
    SetWindowLongPtrW(listView, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.iSubItem = 0;
    if (SendMessageW(listView, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)) == -1) {
        DestroyListView();
        return false;
    }
    SendMessageW(listView, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right - client.left, 0));
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRADIENT, LVS_EX_GRADIENT);
    SetWindowSubclass(listView, ListSubclassProc, kListSubclassId, 0);
    SetFocus(listView);
    return true;
}

void ListViewEx::DestroyListView() {
    if (subclassed && parent)
        RemoveWindowSubclass(parent, &ListViewEx::ParentSubclassProc, kParentSubclassId);
    if (listView) DestroyWindow(listView);
    subclassed = false;
    parent = nullptr;
    model = nullptr;
    rowEntries.clear();
    listView = nullptr;
    DeleteHandle(penNormal);
    DeleteHandle(penSelected);
    DeleteHandle(fontRegular);
    DeleteHandle(fontItalic);
    DeleteHandle(fontBold);
}

LRESULT CALLBACK ListViewEx::ParentSubclassProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<ListViewEx*>(data);
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTVIEW || item->CtlID != IDC_SCHEDULE_LIST) break;
        self->DrawRow(item);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTVIEW || item->CtlID != IDC_SCHEDULE_LIST) break;
        item->itemHeight = static_cast<UINT>(self->rowHeight);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam != kMarkTimer) break;
        self->Repaint();
        return 0;
    case WM_TIMECHANGE: self->Repaint(); break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_SCHEDULE_LIST) break;
        if (header->code == LVN_ITEMACTIVATE) {
            // Activating a row edits its entry before the notification returns.
            SendMessageW(window, WM_COMMAND, IDM_EDIT, 0);
            return 0;
        }
        break;
    }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

const StorageItem* ListViewEx::EntryToDraw(const DRAWITEMSTRUCT* item, bool* selected) const {
    LVITEMW row{};
    row.mask = LVIF_PARAM | LVIF_STATE;
    row.iItem = static_cast<int>(item->itemID);
    row.stateMask = 0xFFFF;
    if (!SendMessageW(listView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row))) return nullptr;
    const auto* entry = reinterpret_cast<const StorageItem*>(row.lParam);
    if (!entry || !entry->owner || !entry->owner->CheckEntry(entry)) return nullptr;
    *selected = (row.state & LVIS_SELECTED) != 0;
    return entry;
}

void ListViewEx::DrawSeparator(HDC dc, const RECT& box, bool selected) const {
    HGDIOBJ oldPen = SelectObject(dc, selected ? penSelected : penNormal);
    MoveToEx(dc, box.left + 1, box.bottom - 1, nullptr);
    LineTo(dc, box.right, box.bottom - 1);
    SelectObject(dc, oldPen);
}

int DrawActionIcon(HDC dc, int left, int top, int height, HBITMAP bitmap) {
    BITMAP description;
    if (!bitmap || !GetObjectW(bitmap, sizeof description, &description)) return 0;
    TransparentImage(dc, left + 2, top + (height - description.bmHeight) / 2, description.bmWidth,
                     description.bmHeight, bitmap, 0, 0, description.bmWidth, description.bmHeight,
                     kIconKeyColour);
    return description.bmWidth + 1;
}

void ListViewEx::DrawTexts(HDC dc, const RECT& box, int x, const StorageItem& entry) const {
    wchar_t action[kTextSize];
    wchar_t firstLine[kTextSize];
    wchar_t secondLine[kTextSize];
    entry.FormatAction(action, kTextSize);
    entry.FormatSchedule(secondLine, kTextSize);
    const RowLook look = LookOf(entry, MarkOf(entry, LocalNow()));
    BoundedText first(firstLine, kTextSize);
    if (look.prefix) first.Add(look.prefix).Add(L" ");
    first.Add(action);

    HGDIOBJ oldFont;
    if (!secondLine[0]) {
        oldFont = SelectObject(dc, look.italicSingleLine ? fontItalic : fontRegular);
        RECT area{x, box.top, box.right, box.bottom};
        DrawTextW(dc, firstLine, -1, &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX |
                      DT_END_ELLIPSIS);
    } else {
        const UINT flags = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS;
        oldFont = SelectObject(dc, look.boldUpperLine ? fontBold : fontItalic);
        RECT upper{x, box.top + 1, box.right, box.top + rowHeight / 2};
        DrawTextW(dc, firstLine, -1, &upper, flags);
        SelectObject(dc, fontRegular);
        RECT lower{x, box.top + rowHeight / 2 + 1, box.right, box.bottom - 1};
        DrawTextW(dc, secondLine, -1, &lower, flags);
    }
    SelectObject(dc, oldFont);
}

void ListViewEx::DrawRow(const DRAWITEMSTRUCT* item) const {
    bool selected = false;
    const StorageItem* entry = EntryToDraw(item, &selected);
    if (!entry) return;
    HDC dc = item->hDC;
    const RECT& box = item->rcItem;
    DrawBackground(dc, box, selected);
    // The texts lie on the highlight fill or the control's background, never on a box of
    // their own; the dashed separator's gaps likewise.
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawSeparator(dc, box, selected);
    const int iconWidth = DrawActionIcon(dc, box.left, box.top, rowHeight, entry->ListBitmap());
    if (LastRunFailed(*entry)) DrawFailureMark(dc, box.left + iconWidth, box.top + rowHeight / 2);
    DrawTexts(dc, box, box.left + iconWidth + 4, *entry);
    SetBkMode(dc, oldMode);
}

const ListViewEx* ListViewEx::OfListWindow(HWND list) {
    return reinterpret_cast<const ListViewEx*>(GetWindowLongPtrW(list, GWLP_USERDATA));
}

bool ListViewEx::RowsOverflow() const {
    RECT client;
    GetClientRect(listView, &client);
    return GetRowCount() * rowHeight > client.bottom - client.top;
}

void ListViewEx::FitColumnToClient() const {
    RECT client;
    GetClientRect(listView, &client);
    SendMessageW(listView, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right - client.left, 0));
}

bool ListViewEx::Follow(const StorageList& entries, const StorageItem* selected, int fallbackRow) {
    model = &entries;
    // Every message to the control costs a round trip to Wine's window server (its subclass asks
    // for a window property): the rows are compared with the list through the addresses kept
    // beside them, and only rows that differ are touched. A command changes one row or none, so
    // the others, and the scroll position, stay.
    std::unordered_set<const StorageItem*> inList;
    for (const StorageItem* entry = entries.head; entry; entry = entry->next)
        inList.insert(entry);
    // The control lays out after every row it gains or loses while it may redraw, which made a
    // list of a thousand entries take seconds to appear: it redraws once, at the end.
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    const std::unordered_set<const StorageItem*> kept = RemoveRowsNotIn(inList);
    int rows = GetRowCount();
    bool inserted = true;
    if (inList.size() > kept.size()) {
        const SubclassesAside aside(listView, parent, reinterpret_cast<DWORD_PTR>(this));
        for (StorageItem* entry = entries.head; entry && inserted; entry = entry->next)
            if (!kept.count(entry)) inserted = AddRow(rows++, entry, false);
    }
    SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
    // The vertical scroll bar comes and goes only now that the control may redraw again:
    // measured while it was suspended, the column kept the whole width and ran under the bar.
    FitColumnToClient();
    SortRows();
    SelectEntryOrRow(selected, fallbackRow);
    Repaint();
    return inserted;
}

std::unordered_set<const StorageItem*>
ListViewEx::RemoveRowsNotIn(const std::unordered_set<const StorageItem*>& inList) {
    std::unordered_set<const StorageItem*> kept;
    for (const StorageItem* entry : rowEntries)
        if (inList.count(entry)) kept.insert(entry);
    if (kept.empty()) {
        SendMessageW(listView, LVM_DELETEALLITEMS, 0, 0);
        rowEntries.clear();
    }
    // A row is found by its entry's address alone: a row whose entry has gone is never read.
    while (rowEntries.size() > kept.size()) {
        const auto gone = std::find_if(rowEntries.begin(), rowEntries.end(), [&](auto entry) {
            return !kept.count(entry) || rowEntries.count(entry) > 1;
        });
        SendMessageW(listView, LVM_DELETEITEM, RowOf(*gone), 0);
        rowEntries.erase(gone);
    }
    return kept;
}

void ListViewEx::SelectEntryOrRow(const StorageItem* entry, int fallbackRow) {
    const int row = entry ? RowOf(entry) : -1;
    const int rows = GetRowCount();
    if (row >= 0)
        SelectRow(row, true);
    else if (rows > 0 && GetSelectedRow() < 0)
        SelectRow(std::min(std::max(fallbackRow, 0), rows - 1), true);
}

int ListViewEx::RowOf(const StorageItem* entry) const {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(entry);
    return static_cast<int>(
        SendMessageW(listView, LVM_FINDITEMW, -1, reinterpret_cast<LPARAM>(&find)));
}

bool ListViewEx::AddRow(int index, StorageItem* entry, bool select) {
    LVITEMW row{};
    row.mask = LVIF_PARAM | LVIF_STATE;
    row.iItem = index;
    row.lParam = reinterpret_cast<LPARAM>(entry);
    row.state = row.stateMask = select ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    if (SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)) == -1)
        return false;
    rowEntries.insert(entry);
    return true;
}

bool ListViewEx::InsertEntryRow(int index, StorageItem* entry, bool select, bool sort) {
    if (!AddRow(index, entry, select)) return false;
    // The rows no longer fit: the scroll bar took part of the width.
    if (RowsOverflow()) FitColumnToClient();
    if (sort) SortRows();
    return true;
}

bool ListViewEx::DeleteRow(int index) {
    int selected = GetSelectedRow();
    const StorageItem* entry = GetRowEntry(index);
    const bool deleted = SendMessageW(listView, LVM_DELETEITEM, index, 0) != 0;
    const auto kept = rowEntries.find(entry);
    if (deleted && kept != rowEntries.end()) rowEntries.erase(kept);
    // The rows fit again: the scroll bar has gone and its width is ours.
    if (deleted && !RowsOverflow()) FitColumnToClient();
    if (selected == GetRowCount()) --selected;
    if (selected >= 0) SelectRow(selected, true);
    return deleted;
}

void ListViewEx::SortRows() {
    SendMessageW(listView, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&ListViewEx::CompareRows));
    const int selected = GetSelectedRow();
    if (selected >= 0) SelectRow(selected, true);
    ArmMarkTimer();
}

void ListViewEx::Repaint() const {
    InvalidateRect(listView, nullptr, TRUE);
    ArmMarkTimer();
}

void ListViewEx::ArmMarkTimer() const {
    const FILETIME now = LocalNow();
    const FILETIME change = model ? NextMarkChange(*model, now) : kNever;
    if (IsNever(change)) {
        KillTimer(parent, kMarkTimer);
        return;
    }
    // One millisecond past the change, so that the row reads as passed when it is drawn.
    const uint64_t wait = (ToTicks(change) - ToTicks(now)) / kTicksPerMs + 1;
    SetTimer(parent, kMarkTimer, static_cast<UINT>(std::min(wait, kMarkTimerLongestMs)), nullptr);
}

int CALLBACK ListViewEx::CompareRows(LPARAM entry1, LPARAM entry2, LPARAM) {
    const auto* first = reinterpret_cast<const StorageItem*>(entry1);
    const auto* second = reinterpret_cast<const StorageItem*>(entry2);
    return first->owner->Compare(first, second);
}

bool ListViewEx::SelectRow(int index, bool scroll) {
    LVITEMW row{};
    row.mask = LVIF_STATE;
    row.iItem = index;
    row.state = row.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (!SendMessageW(listView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row))) return false;
    if (scroll) SendMessageW(listView, LVM_ENSUREVISIBLE, index, FALSE);
    return true;
}

int ListViewEx::GetSelectedRow() const {
    return static_cast<int>(SendMessageW(listView, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

int ListViewEx::GetRowCount() const {
    return static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
}

StorageItem* ListViewEx::GetRowEntry(int index) const {
    LVITEMW row{};
    row.mask = LVIF_PARAM;
    row.iItem = index;
    row.iSubItem = 0;
    if (!SendMessageW(listView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row))) return nullptr;
    return reinterpret_cast<StorageItem*>(row.lParam);
}
