#include <cstdio>

#include "Inspector.h"

int wmain(int argc, wchar_t** argv) {
    return RunInspector(argc, argv, stdout, stderr);
}
