// The system's own conversion for an ANSI code page without a built-in table (double-byte
// code pages among them). Like the built-in tables it writes "?" for a character the code page
// lacks, and no look-alike substitute.
#pragma once

#include <windows.h>

#include "document/code_pages.h"

class SystemCodePageEncoder : public AnsiEncoder {
  public:
    explicit SystemCodePageEncoder(int codePage) : codePage_(codePage) {}
    int CodePage() const override { return codePage_; }
    void Append(char32_t character, std::string* out) const override;

  private:
    int codePage_;
};
