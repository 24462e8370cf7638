#include <windows.h>

#include "ui/app/AppState.h"
#include "ui/app/Main.h"
#include "ui/editor/EditorFactories.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    InstallEditorFactories(&g_entryScreen);
    return RunProgram(instance, showCommand);
}
