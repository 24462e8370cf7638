// PLACEHOLDER: replaced by the recurrence work.
#include "ui/model/Recurrence.h"

int CompareDisplayOrder(const StorageItem& a, const StorageItem& b) {
    if (a.kind != b.kind) return static_cast<uint32_t>(a.kind) > static_cast<uint32_t>(b.kind) ? 1 : -1;
    return 0;
}
