// A stand-in for a related program's set-up: records the "LQUIET" it was started with, its own
// file and its command line, one to a line.
#include <windows.h>

#include <cstdio>

int main() {
    char value[64] = "<unset>";
    GetEnvironmentVariableA("LQUIET", value, sizeof value);
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own - 1);
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof path, path);
    lstrcatA(path, "qm-lquiet-recorded.txt");
    if (FILE* file = std::fopen(path, "wb")) {
        std::fprintf(file, "%s\n%s\n%s", value, own, GetCommandLineA());
        std::fclose(file);
    }
    return 0;
}
