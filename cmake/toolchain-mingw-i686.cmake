# The 32-bit Windows program, the one we ship; it runs under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QM_MINGW_TRIPLE i686-w64-mingw32)
set(QM_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
