#include "ui/model/EntryEditor.h"

EditorFactories g_editorFactories;
