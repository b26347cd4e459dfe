#include "binary_stdin.h"

#include <fcntl.h>
#include <io.h>
#include <cstdio>

void SetStdinBinary() { _setmode(_fileno(stdin), _O_BINARY); }
