#include <windows.h>

#include "ui/app/Main.h"
#include "ui/editor/EditorFactories.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    InstallEditorFactories();
    return RunProgram(instance, showCommand);
}
