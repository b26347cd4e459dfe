#include <windows.h>

#include <cstdlib>

#include "app/startup_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RunProgram(instance, __argc, __argv);
    return 0;
}
