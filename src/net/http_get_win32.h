// The program's HTTP/1.0 GET client over Windows Sockets, for the GUI thread: one request per
// call, plain HTTP over IPv4, no redirects, proxies, TLS or chunked replies. Every wait is a
// select of at most 300 ms, and the owner's message pump runs before each wait and between
// them, so the windows stay alive and the user can stop the transfer by closing its window. A
// host name is looked up on a thread of its own (net/host_lookup_win32.h) while the pump runs.
// A whole transfer has a time limit (HttpGetOptions; the build's limits by default): past it
// the transfer fails, however steadily bytes arrive.
//
// Result codes (kTransferDone 0, kTransferStopped 1, kTransferFailed 2, net/http_rules.h):
// - HttpGetToMemory: 1 when the user stopped it; 0 with the reply as it arrived (status line,
//   header and body, at most 511 bytes) once it is known to be whole: 511 bytes, or as many
//   body bytes as its Content-Length, or without a length the peer's orderly close after it.
//   2 for anything else (no connection, nothing received, a reply cut by a reset, a time-out
//   or the time limit, a body short of its Content-Length), with the buffer left empty. The
//   status is not judged here: the caller reads the reply.
// - HttpGetToFile: 0 only for a "HTTP/1.x 2xx" reply with a Content-Length of 1 to 4294967295
//   whose body arrived in full and was written in full: the file then holds exactly those
//   bytes. 1 when the user stopped it, 2 for anything else (an error status, no usable
//   length, a header over 16 KiB or holding a zero byte, a short body, a time-out, the time
//   limit, a failed write). The file is created (replacing any) once the request has been
//   sent; on 1 or 2 after that it is deleted, and a failure before it leaves the path untouched.
// URLs: "http://host[:port]/path"; the scheme is not examined (anything before "//"), a
// missing port means 80. A host name that cannot be resolved fails (2) without connecting.
#pragma once

#include <windows.h>

#include <cstddef>

#include "base/maker_hosts.h"
#include "net/host_lookup_win32.h"
#include "net/http_rules.h"
#include "ui/transfer_owner.h"

// How a transfer runs: the longest it may take in all, and how it looks up a host name.
struct HttpGetOptions {
    DWORD timeLimitMs;
    HostLookup lookUp = &SystemHostLookup;
};
inline constexpr DWORD kVersionFileTimeLimitMs = kVersionFileTimeLimitSeconds * 1000;
inline constexpr DWORD kDownloadTimeLimitMs = kDownloadTimeLimitSeconds * 1000;

// Fetches url into reply (emptied first, always ended by a zero byte). Used by the update
// check, from the Run of a ProgressDialog.
int HttpGetToMemory(const char* url, char (&reply)[kMemoryReplySize], TransferOwner& owner,
                    const HttpGetOptions& options = {kVersionFileTimeLimitMs});

// Fetches url's body into the file at filePath (replaced if it exists), with progress. Used
// by the downloads of the install wizard, from a TimedWizardPage's deferred work.
int HttpGetToFile(const char* url, const char* filePath, TransferOwner& owner,
                  const HttpGetOptions& options = {kDownloadTimeLimitMs});
