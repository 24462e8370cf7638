#include "core/model/StorageItem.h"

#include "core/model/BinaryIo.h"
#include "core/model/StorageList.h"

StorageItem::StorageItem(int32_t kind, int32_t showSeconds) : showSeconds(showSeconds) {
    this->kind = kind;
    // A new entry starts at the current minute.
    startTime = FromTicks(ToTicks(LocalNow()) / kTicksPerMinute * kTicksPerMinute);
}

bool StorageItem::Write(FILE* file) const {
    bool ok = WriteU32(file, static_cast<uint32_t>(kind)) &&
              WriteU32(file, startTime.dwLowDateTime) && WriteU32(file, startTime.dwHighDateTime) &&
              WriteU8(file, static_cast<uint32_t>(weekdayMask)) &&
              WriteU8(file, static_cast<uint32_t>(active));
    if (ok && kind == Monthly) {
        ok = WriteU32(file, static_cast<uint32_t>(monthMask)) &&
             WriteU16(file, static_cast<uint16_t>(monthlyMode)) &&
             WriteU32(file, static_cast<uint32_t>(dayOfMonth)) &&
             WriteU32(file, static_cast<uint32_t>(weekIndex)) &&
             WriteU32(file, static_cast<uint32_t>(monthlyWeekday));
    }
    return ok;
}

bool StorageItem::Read(FILE* file) {
    uint32_t k, low, high, weekdays, isActive;
    if (!ReadU32(file, &k) || !ReadU32(file, &low) || !ReadU32(file, &high) ||
        !ReadU8(file, &weekdays) || !ReadU8(file, &isActive))
        return false;
    kind = static_cast<int32_t>(k);
    startTime.dwLowDateTime = low;
    startTime.dwHighDateTime = high;
    weekdayMask = static_cast<int32_t>(weekdays);
    active = static_cast<int32_t>(isActive);
    if (kind == Monthly) {
        uint32_t months, day, week, weekday;
        uint16_t mode;
        if (!ReadU32(file, &months) || !ReadU16(file, &mode) || !ReadU32(file, &day) ||
            !ReadU32(file, &week) || !ReadU32(file, &weekday))
            return false;
        monthMask = static_cast<int32_t>(months);
        monthlyMode = static_cast<int16_t>(mode);
        dayOfMonth = static_cast<int32_t>(day);
        weekIndex = static_cast<int32_t>(week);
        monthlyWeekday = static_cast<int32_t>(weekday);
    }
    next = nullptr;
    prev = nullptr;
    return true;
}

const EntryScreen* StorageItem::Screen() const {
    return owner ? owner->screen : nullptr;
}

HBITMAP StorageItem::ListBitmap() const {
    const EntryScreen* screen = Screen();
    if (!screen) return nullptr;
    switch (kind) {
    case Weekly: return screen->phoneOff;
    case Once: return screen->phoneOn;
    case Next24Hours: return screen->powerOff;
    default: return nullptr;
    }
}

EntryEditor* StorageItem::CreateEditor() {
    const EntryScreen* screen = Screen();
    if (!screen || !screen->storageEditor) return nullptr;
    return screen->storageEditor(0, Weekly | Once | Next24Hours | Monthly, showSeconds);
}

long StorageItem::RecordSize() const {
    return kind == Monthly ? 32 : 14;
}

int StorageItem::Edit(HWND parentWindow) {
    EntryEditor* editor = CreateEditor();
    if (!editor) return kEditCanceled;
    const int result = editor->RunModal(parentWindow, this);
    delete editor;
    return result;
}

bool StorageItem::IsOutdated() const {
    if (kind != Once && kind != Next24Hours) return false;
    const FILETIME now = LocalNow();
    return CompareFileTime(&startTime, &now) < 0;
}

void CopySchedule(const StorageItem& from, StorageItem& to) {
    to.When() = from.When();
    to.active = from.active;
    to.showSeconds = from.showSeconds;
}
