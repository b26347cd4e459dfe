// The maker's host names, set at build time (QM_WEB_HOST, QM_VERSION_HOST, QM_DOWNLOAD_HOST,
// QM_FALLBACK_DOWNLOAD_HOST) so that a build can point the program at another site. A host the
// program fetches from may carry a port ("127.0.0.1:8000"); SplitHostPort (net/http_rules.h)
// reads it. Beside them, the time limits of the transfers from those hosts
// (QM_VERSION_FILE_TIME_LIMIT, QM_DOWNLOAD_TIME_LIMIT, in seconds). Platform-free.
#pragma once

#if !defined(QM_WEB_HOST) || !defined(QM_VERSION_HOST) || !defined(QM_DOWNLOAD_HOST) || \
    !defined(QM_FALLBACK_DOWNLOAD_HOST) || !defined(QM_VERSION_FILE_TIME_LIMIT) ||      \
    !defined(QM_DOWNLOAD_TIME_LIMIT)
#error \
    "QM_WEB_HOST, QM_VERSION_HOST, QM_DOWNLOAD_HOST, QM_FALLBACK_DOWNLOAD_HOST, QM_VERSION_FILE_TIME_LIMIT and QM_DOWNLOAD_TIME_LIMIT must be defined by the build"
#endif

// The web site: pages opened in the browser and named in messages.
inline constexpr char kMakerWebHost[] = QM_WEB_HOST;
// The server of the version file read by the update check. Defined alone in its own file
// (net/version_host.cpp), so that a test build of the program can link its own definition
// ahead of the library's and fetch the version file from a local server.
extern const char kMakerVersionHost[];
// The server of the program and related-program downloads.
inline constexpr char kMakerDownloadHost[] = QM_DOWNLOAD_HOST;
// The server a download is fetched from when the download host fails.
inline constexpr char kMakerFallbackDownloadHost[] = QM_FALLBACK_DOWNLOAD_HOST;

// The longest the whole fetch of the version file may take, from the call to its last byte, and
// the same for a download: a server that sends a byte now and then cannot hold either open.
inline constexpr unsigned kVersionFileTimeLimitSeconds = QM_VERSION_FILE_TIME_LIMIT;
inline constexpr unsigned kDownloadTimeLimitSeconds = QM_DOWNLOAD_TIME_LIMIT;
