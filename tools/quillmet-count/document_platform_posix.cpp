#include "document_input.h"

// Linux has no ANSI code page: documents are counted in the Western one unless told otherwise.
int SystemAnsiCodePage() { return 1252; }

std::unique_ptr<AnsiEncoder> MakeSystemEncoder(int) { return nullptr; }

void SetStdoutBinary() {}
