#include "net/periodic_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/http_rules.h"
#include "settings/settings_values.h"

namespace {

constexpr std::int64_t kTimeLimit = 1000000000000000;  // 10^15 s, some 31 million years

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The first occurrence of key in [begin, end), or null.
const char* Find(const char* begin, const char* end, const char* key) {
    const char* at = std::search(begin, end, key, key + std::strlen(key));
    return at != end ? at : nullptr;
}

bool StartsWithNoCase(const char* begin, const char* end, const char* prefix) {
    for (; *prefix != '\0'; ++prefix, ++begin) {
        if (begin == end || Lower(*begin) != *prefix) return false;
    }
    return true;
}

// "1.13" -> 113: at most 7 integer digits, the first two decimals, the rest ignored.
int ReadVersion(const char* at, const char* end) {
    constexpr int kMaxIntegerDigits = 7;
    int integer = 0;
    int digits = 0;
    for (; at != end && IsDigit(*at); ++at) {
        if (++digits > kMaxIntegerDigits) return -1;
        integer = integer * 10 + (*at - '0');
    }
    if (digits == 0) return -1;
    int hundredths = 0;
    if (at != end && *at == '.') {
        ++at;
        for (int scale = 10; scale > 0 && at != end && IsDigit(*at); scale /= 10, ++at) {
            hundredths += (*at - '0') * scale;
        }
    }
    return integer * 100 + hundredths;
}

bool EndsInfo(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return c == '&' || c == ' ' || u < 0x20 || u == 0x7F;
}

void ReadInfo(const char* at, const char* end, char (&out)[kInfoAddressSize]) {
    out[0] = '\0';
    const char* stop = at;
    while (stop != end && !EndsInfo(*stop)) ++stop;
    const std::size_t length = static_cast<std::size_t>(stop - at);
    if (length >= kInfoAddressSize) return;
    if (!StartsWithNoCase(at, stop, "http://") && !StartsWithNoCase(at, stop, "https://")) return;
    std::memcpy(out, at, length);
    out[length] = '\0';
}

}  // namespace

std::int64_t ParseStoredTime(const char* text) {
    if (text == nullptr) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    std::int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        if (value < kTimeLimit) value = value * 10 + (*p - '0');
    }
    if (value > kTimeLimit) value = kTimeLimit;
    return negative ? -value : value;
}

void FormatStoredTime(std::int64_t time, char (&out)[32]) {
    std::snprintf(out, sizeof out, "%lld", static_cast<long long>(time));
}

PeriodicPlan PlanPeriodicChecks(std::int64_t now, const PeriodicValues& values) {
    PeriodicPlan plan;
    if (now > kTimeLimit) now = kTimeLimit;
    if (now < -kTimeLimit) now = -kTimeLimit;
    if (!ParseSettingsFlag(values.relatedPCheck, false)) {
        const std::int64_t firstCheck = ParseStoredTime(values.relatedPDate);
        if (firstCheck == 0) {
            plan.storeRelatedPDate = true;
        } else if (now - firstCheck > kReminderDelaySeconds) {
            plan.markRelatedPCheck = true;
            plan.action = PeriodicAction::kShowReminder;
            return plan;
        }
    }
    const std::int64_t lastCheck = ParseStoredTime(values.vCheckDate);
    if (lastCheck == 0) {
        plan.storeVCheckDate = true;
    } else if (now - lastCheck > kUpdateIntervalSeconds) {
        plan.storeVCheckDate = true;
        plan.action = PeriodicAction::kCheckForUpdate;
    }
    return plan;
}

void VersionFileAddress(const char* host, char (&out)[kInfoAddressSize]) {
    std::snprintf(out, sizeof out, "http://%s%s", host, kVersionFilePath);
    for (char& c : out) c = Lower(c);
}

VersionFile ReadVersionFile(const char* reply, std::size_t length) {
    VersionFile file;
    const char* end = std::find(reply, reply + length, '\0');

    ResponseHeaderReader header;
    const char* body = reply;
    ResponseHeaderReader::Step step = ResponseHeaderReader::Step::kMore;
    while (body != end && step != ResponseHeaderReader::Step::kHeaderDone) {
        step = header.Take(*body++);
        if (step == ResponseHeaderReader::Step::kBad) return file;
    }
    if (step != ResponseHeaderReader::Step::kHeaderDone || !header.StatusIsSuccess()) return file;
    if (header.LengthAnnounced()) {
        if (!header.LengthUsable()) return file;
        if (static_cast<std::size_t>(end - body) < header.Length()) return file;
        end = body + header.Length();
    }

    constexpr char kVersionKey[] = "version=";
    constexpr char kInfoKey[] = "info=";
    if (const char* at = Find(body, end, kVersionKey)) {
        file.version = ReadVersion(at + sizeof kVersionKey - 1, end);
    }
    if (const char* at = Find(body, end, kInfoKey)) {
        ReadInfo(at + sizeof kInfoKey - 1, end, file.info);
    }
    return file;
}

bool ShouldOfferUpdate(const VersionFile& file, int lastCheckVersion) {
    return file.version >= kLowestVersion && lastCheckVersion >= kLowestVersion &&
           file.version > lastCheckVersion;
}
