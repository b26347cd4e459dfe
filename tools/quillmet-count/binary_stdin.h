// Standard input read as bytes: on Windows the C library would otherwise turn CR LF into LF
// and stop at Ctrl+Z, which would change the counts.
#pragma once

void SetStdinBinary();
