// A stand-in for a related program's set-up: records the "LQUIET" it was started with.
#include <windows.h>

#include <cstdio>

int main() {
    char value[64] = "<unset>";
    GetEnvironmentVariableA("LQUIET", value, sizeof value);
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof path, path);
    lstrcatA(path, "qm-lquiet-recorded.txt");
    if (FILE* file = std::fopen(path, "wb")) {
        std::fputs(value, file);
        std::fclose(file);
    }
    return 0;
}
