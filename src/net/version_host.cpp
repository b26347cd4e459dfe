// The version host of the build (QM_VERSION_HOST). Nothing else may live in this file: a
// program that defines kMakerVersionHost itself (the end-to-end tests' loopback build) keeps
// the linker from taking this definition from the library.
#include "base/maker_hosts.h"

extern const char kMakerVersionHost[] = QM_VERSION_HOST;
