// The rules of the periodic checks that run when the main window is shown again: when the
// related-programs reminder is due, when the update check is due and what it stores first, how
// the version file is read, and whether a newer version is offered. Platform-free; the windows,
// registry and network are in app/periodic_checks_win32.h.
//
// The four machine-wide values (section "Settings" of HKEY_LOCAL_MACHINE):
//   "RelatedPCheck"     "1" once the reminder has been shown (empty or "0..." means not yet)
//   "RelatedPDate"      time of the first check on this machine (missing: 0)
//   "VCheckDate"        time of the last update check, or of the first check (missing: 0)
//   "LastCheckVersion"  version x 100 of the newest version whose page the user opened (105)
// Times are seconds since 1970-01-01 00:00 UTC, reckoned in 64 bits.
#pragma once

#include <cstddef>
#include <cstdint>

// The reminder is shown once, when more than 45 days have passed since the first check.
constexpr std::int64_t kReminderDelaySeconds = 3888000;
// The version file is fetched at most every 90 days.
constexpr std::int64_t kUpdateIntervalSeconds = 7776000;
// Versions are compared as version x 100: the program's own is 1.05, none is below 1.00.
constexpr int kOwnVersion = 105;
constexpr int kLowestVersion = 100;

// The version file's address before lower-casing: "http://" + version host + this path.
inline constexpr char kVersionFilePath[] = "/versions/Quillmet.txt";
// An "info=" address keeps at most 259 characters, with its zero in a 260-byte buffer.
constexpr std::size_t kInfoAddressSize = 260;

// A stored time: empty text is 0; otherwise leading blanks, an optional sign and the decimal
// digits that follow (none: 0). Held within +-10^15 s, so differences of two times never
// overflow.
std::int64_t ParseStoredTime(const char* text);
// A time as it is stored: its decimal digits, with "-" when negative.
void FormatStoredTime(std::int64_t time, char (&out)[32]);

// The machine-wide values a check starts from, as read (missing values as empty texts).
struct PeriodicValues {
    const char* relatedPCheck = "";
    const char* relatedPDate = "";
    const char* vCheckDate = "";
};

enum class PeriodicAction {
    kNothing,
    kShowReminder,    // the related-programs wizard; no update check in this call
    kCheckForUpdate,  // fetch the version file
};

// What one call does: the values to store (each as the time now, or "1"), stored before the
// action, then the action.
struct PeriodicPlan {
    bool storeRelatedPDate = false;
    bool markRelatedPCheck = false;
    bool storeVCheckDate = false;
    PeriodicAction action = PeriodicAction::kNothing;
};

// The first call stores both dates and does nothing else. The reminder, while not yet shown,
// comes more than 45 days after "RelatedPDate" and pre-empts the update check; the update
// check comes more than 90 days after "VCheckDate", which is stored before the fetch. A clock
// set back before a stored date gives no action.
PeriodicPlan PlanPeriodicChecks(std::int64_t now, const PeriodicValues& values);

// "http://" + host + "/versions/Quillmet.txt", lower-cased, cut to 259 characters.
void VersionFileAddress(const char* host, char (&out)[kInfoAddressSize]);

// What a version file reply offers.
struct VersionFile {
    // The "version=" value x 100 (1.13 -> 113, 0.5 -> 50), or -1 when the reply holds no
    // readable version.
    int version = -1;
    // The "info=" address, or empty when there is none usable.
    char info[kInfoAddressSize] = {};
};

// Reads a reply as received (status line, header, body; at most `length` bytes, ending early
// at a zero byte). Only a complete header with a 2xx status line counts, and only its body is
// searched; a body shorter than an announced Content-Length, or a Content-Length that is no
// length, makes the reply count for nothing, and body bytes beyond the length are not read.
// - "version=": up to 7 decimal digits, optionally "." and decimals of which the first two
//   count (truncated); anything else is no version.
// - "info=": runs to "&", a control character, a space or the end of the body, and is used
//   only when it starts with "http://" or "https://" (any case) and has at most 259
//   characters.
VersionFile ReadVersionFile(const char* reply, std::size_t length);

// A newer version is offered when the file names a version of at least 1.00 that is above
// "LastCheckVersion", itself at least 1.00 (below that, nothing is ever offered).
bool ShouldOfferUpdate(const VersionFile& file, int lastCheckVersion);
