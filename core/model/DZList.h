#pragma once
// The list the program keeps: its file starts with 0xCE05 and its new entries are DZItems.
#include "core/model/StorageList.h"

class DZList : public StorageList {
  public:
    DZList();
    StorageItem* CreateEntry() override;
};
