// PLACEHOLDER: replaced by the descriptions work.
#include "ui/model/DZItem.h"

void StorageItem::FormatMonthlyDay(wchar_t* buffer, size_t size) const { if (size) buffer[0] = 0; }
void StorageItem::FormatAction(wchar_t* buffer, size_t size) const { if (size) buffer[0] = 0; }
void StorageItem::FormatSchedule(wchar_t* buffer, size_t size) const { if (size) buffer[0] = 0; }
void DZItem::FormatAction(wchar_t* buffer, size_t size) const { if (size) buffer[0] = 0; }
