# Shared settings for the program's own targets (not for GoogleTest or other third-party code).
set(QM_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

set(QM_WARNINGS -Wall -Wextra)

# AddressSanitizer and UndefinedBehaviorSanitizer on a target, when the build asks for them.
function(qm_sanitize target link_scope)
  if(QM_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=all)
    target_link_options(${target} ${link_scope} -fsanitize=address,undefined)
  endif()
endfunction()

# Product code: no exceptions, no RTTI needed.
function(qm_product_target target)
  target_compile_options(${target} PRIVATE ${QM_WARNINGS} -fno-exceptions)
  target_include_directories(${target} PUBLIC ${QM_ROOT}/src)
  qm_sanitize(${target} PUBLIC)
endfunction()

if(WIN32)
  # 32-bit ANSI program for Windows XP and later: no UNICODE, the A forms of every call.
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 WIN32_LEAN_AND_MEAN
                          NOMINMAX)
endif()

# GoogleTest from Debian's sources, built for whichever target this tree builds.
function(qm_add_googletest)
  if(TARGET gtest)
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(QM_SANITIZE)
    foreach(t gtest gtest_main gmock gmock_main)
      target_compile_options(${t} PRIVATE -fsanitize=address,undefined)
    endforeach()
  endif()
endfunction()

# A test program of the program's own: warnings on, sanitizers as configured.
function(qm_test_target target)
  target_compile_options(${target} PRIVATE ${QM_WARNINGS})
  target_include_directories(${target} PRIVATE ${QM_ROOT}/src ${QM_ROOT}/tests)
  qm_sanitize(${target} PRIVATE)
endfunction()
