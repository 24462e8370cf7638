#include "ui/app/ScheduleList.h"

#include "platform/shell/SmartphoneShell.h"
#include "ui/app/AppState.h"
#include "ui/app/MakeFont.h"
#include "ui/model/DZItem.h"
#include "ui/model/LastRun.h"
#include "ui/model/StorageList.h"
#include "ui/resources/resource.h"
#include "ui/text/BoundedText.h"
#include "ui/text/TextTable.h"

namespace {

constexpr wchar_t kObjectProperty[] = L"ListViewEx.Object";
constexpr wchar_t kFontFace[] = L"Segoe Condensed";
constexpr COLORREF kIconKeyColour = RGB(111, 254, 12);
constexpr COLORREF kFailureMarkColour = RGB(208, 0, 0);
constexpr int kFailureMarkSize = 9; // pixels across: a third of the bitmap
constexpr size_t kTextSize = 260;

// Looked up once when the list is created, then kept for every draw.
const wchar_t* g_offPrefix = L"";
const wchar_t* g_outdatedPrefix = L"";

// How a row shows its entry's state: the prefix of the first line and its font.
struct RowLook {
    const wchar_t* prefix; // null: the action text alone
    bool boldUpperLine;
    bool italicSingleLine;
};

RowLook LookOf(const StorageItem& entry, bool outdated) {
    if (!entry.active) return {g_offPrefix, false, true};
    if (outdated) return {g_outdatedPrefix, false, false};
    return {nullptr, true, false};
}

// Under Wine a window property lives in the window server: every GetPropW is a round trip of
// about 40 us, and the parent's procedure runs for every message of the main window, one per
// inserted row at least. The property stays the record of which object serves a parent; its
// answer is kept here from SetPropW until the object lets the parent go.
HWND g_propertyWindow = nullptr;
ListViewEx* g_propertyObject = nullptr;

ListViewEx* ObjectOf(HWND window) {
    if (window != g_propertyWindow) {
        g_propertyWindow = window;
        g_propertyObject = static_cast<ListViewEx*>(GetPropW(window, kObjectProperty));
    }
    return g_propertyObject;
}

void RememberObject(HWND window, ListViewEx* object) {
    g_propertyWindow = window;
    g_propertyObject = object;
}

// A selected row lies on the highlight colour; any other on the control's own background.
void DrawBackground(HDC dc, const RECT& box, bool selected) {
    if (selected) FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
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

} // namespace

ListViewEx::~ListViewEx() {
    if (listView && oldParentProc) DestroyListView();
}

bool ListViewEx::CreateListView(HWND parentWindow) {
    if (listView || oldParentProc) DestroyListView();

    // The control asks its parent for the row height (WM_MEASUREITEM) while it is being
    // created, so the replacement procedure and rowHeight are in place before it exists.
    parent = parentWindow;
    oldParentProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListViewEx::ParentSubclassProc)));
    if (!oldParentProc) return false;
    SetPropW(parent, kObjectProperty, this);
    RememberObject(parent, this);

    g_offPrefix = Text(L"PREFIX_OFF");
    g_outdatedPrefix = Text(L"PREFIX_OUTDATED");

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
    SetFocus(listView);
    return true;
}

void ListViewEx::DestroyListView() {
    if (oldParentProc && parent)
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldParentProc));
    RememberObject(nullptr, nullptr);
    if (listView) DestroyWindow(listView);
    oldParentProc = nullptr;
    parent = nullptr;
    listView = nullptr;
    DeleteHandle(penNormal);
    DeleteHandle(penSelected);
    DeleteHandle(fontRegular);
    DeleteHandle(fontItalic);
    DeleteHandle(fontBold);
}

LRESULT CALLBACK ListViewEx::ParentSubclassProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    ListViewEx* self = ObjectOf(window);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
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
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_SCHEDULE_LIST) break;
        if (header->code == LVN_ITEMACTIVATE) {
            // Activating a row edits its entry before the notification returns.
            SendMessageW(window, WM_COMMAND, IDM_EDIT, 0);
            return 0;
        }
        if (header->code == LVN_ITEMCHANGED)
            OnItemChanged(window, reinterpret_cast<const NMLISTVIEW*>(lParam));
        break;
    }
    }
    return CallWindowProcW(self->oldParentProc, window, message, wParam, lParam);
}

void ListViewEx::OnItemChanged(HWND window, const NMLISTVIEW* change) {
    // A newly selected and focused row: the menu follows (its caption and greyed items).
    const UINT wanted = LVIS_SELECTED | LVIS_FOCUSED;
    if (change->uChanged == LVIF_STATE && (change->uNewState & wanted) == wanted)
        PostMessageW(window, WM_COMMAND, IDM_UPDATE_MENU, 0);
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
    const RowLook look = LookOf(entry, entry.IsOutdated());
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

bool ListViewEx::InsertEntryRow(int index, StorageItem* entry, bool select, bool sort) {
    LVITEMW row{};
    row.mask = LVIF_PARAM | LVIF_STATE;
    row.iItem = index;
    row.lParam = reinterpret_cast<LPARAM>(entry);
    row.state = row.stateMask = select ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    if (SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)) == -1)
        return false;
    // The rows no longer fit: the scroll bar took part of the width.
    if (RowsOverflow()) FitColumnToClient();
    if (sort) SortRows();
    return true;
}

bool ListViewEx::DeleteRow(int index) {
    int selected = GetSelectedRow();
    const bool deleted = SendMessageW(listView, LVM_DELETEITEM, index, 0) != 0;
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
