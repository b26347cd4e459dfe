#include "binary_stdin.h"

// POSIX streams never translate line ends.
void SetStdinBinary() {}
