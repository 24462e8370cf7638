#include "ui/model/DZList.h"

#include <new>

#include "ui/model/DZItem.h"

DZList::DZList() {
    magic = 0xCE05;
    formatWord = 1;
}

StorageItem* DZList::CreateEntry() {
    return new (std::nothrow) DZItem();
}
