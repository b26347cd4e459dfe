// The loopback build's version host: this machine, on the port the end-to-end test listens on.
// Linked ahead of the library, this definition replaces the build's version host.
#include "base/maker_hosts.h"

extern const char kMakerVersionHost[] = QM_LOOPBACK_VERSION_HOST;
