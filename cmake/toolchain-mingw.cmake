# Cross build of the Windows program with mingw-w64 for QM_MINGW_TRIPLE (posix thread model,
# which GoogleTest needs). Static runtime so that the .exe needs only system DLLs. Included by
# the toolchain file of each processor, which sets the triple and the Wine architecture.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Every Windows program (tests included) runs under the Wine of its architecture, in the
# project's own prefix; the scripts that the tests call directly get the same setting.
set(QM_WINE_ENV QM_WINE_ARCH=${QM_WINE_ARCH})
set(CMAKE_CROSSCOMPILING_EMULATOR env ${QM_WINE_ENV}
                                  ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
