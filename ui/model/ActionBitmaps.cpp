#include "ui/model/ActionBitmaps.h"

ActionBitmaps g_actionBitmaps;
