#include "core/model/DZList.h"

#include <new>

#include "core/model/DZItem.h"

DZList::DZList() {
    magic = 0xCE05;
    formatWord = 1;
}

StorageItem* DZList::CreateEntry() {
    return new (std::nothrow) DZItem();
}
