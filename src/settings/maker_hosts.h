// The maker's host names, set at build time (QM_WEB_HOST, QM_VERSION_HOST, QM_DOWNLOAD_HOST,
// QM_FALLBACK_DOWNLOAD_HOST) so that a build can point the program at another site. A host the
// program fetches from may carry a port ("127.0.0.1:8000"); SplitHostPort (net/http_rules.h)
// reads it. Platform-free.
#pragma once

#if !defined(QM_WEB_HOST) || !defined(QM_VERSION_HOST) || !defined(QM_DOWNLOAD_HOST) || \
    !defined(QM_FALLBACK_DOWNLOAD_HOST)
#error \
    "QM_WEB_HOST, QM_VERSION_HOST, QM_DOWNLOAD_HOST and QM_FALLBACK_DOWNLOAD_HOST must be defined by the build"
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
