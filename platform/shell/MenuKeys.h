#pragma once
// The phone's menus pass over what cannot be chosen: while a softkey's popup is open, Up and
// Down move to the previous or next item that is enabled, wrapping at the ends. Separators and
// greyed items are never highlighted (the desktop's menu lands on greyed items and draws them
// grey on the highlight, where they cannot be read).
#include <windows.h>

// Holds the keys for popup, tracked with owner as the owner window, for the scope's life.
class MenuKeysScope {
  public:
    MenuKeysScope(HWND owner, HMENU popup);
    ~MenuKeysScope();
    MenuKeysScope(const MenuKeysScope&) = delete;
    MenuKeysScope& operator=(const MenuKeysScope&) = delete;
};

// The item that Up (down false) or Down (down true) moves to from the item at index from (-1
// when none is highlighted): the next enabled, non-separator item, wrapping; -1 when there is
// none.
int NextChoosableItem(HMENU menu, int from, bool down);
