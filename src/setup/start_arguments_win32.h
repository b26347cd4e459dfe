// The running program's own start: what follows its path on the command line, read by the
// core reader with the system's idea of which path names this program.
#pragma once

#include <string>

#include "setup/setup_rules.h"

StartArguments OwnStartArguments();
// Whether two paths name the same file (full, long forms compared without regard to case).
bool SamePath(const std::string& a, const std::string& b);
