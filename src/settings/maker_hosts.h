// The maker's host names, set at build time (QM_WEB_HOST, QM_VERSION_HOST, QM_DOWNLOAD_HOST)
// so that a build can point the program at another site. Platform-free.
#pragma once

#if !defined(QM_WEB_HOST) || !defined(QM_VERSION_HOST) || !defined(QM_DOWNLOAD_HOST)
#error "QM_WEB_HOST, QM_VERSION_HOST and QM_DOWNLOAD_HOST must be defined by the build"
#endif

// The web site: pages opened in the browser and named in messages.
inline constexpr char kMakerWebHost[] = QM_WEB_HOST;
// The server of the version file read by the update check.
inline constexpr char kMakerVersionHost[] = QM_VERSION_HOST;
// The server of the program and related-program downloads.
inline constexpr char kMakerDownloadHost[] = QM_DOWNLOAD_HOST;
