#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "document/system_encoder_win32.h"
#include "document_input.h"

int SystemAnsiCodePage() { return static_cast<int>(GetACP()); }

std::unique_ptr<AnsiEncoder> MakeSystemEncoder(int codePage) {
    if (!IsValidCodePage(static_cast<UINT>(codePage))) return nullptr;
    return std::make_unique<SystemCodePageEncoder>(codePage);
}

void SetStdoutBinary() { _setmode(_fileno(stdout), _O_BINARY); }
