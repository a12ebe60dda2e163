# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Instrumented builds. VORPY_FUZZ (clang only) builds every library with AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer's coverage hooks and links the fuzz targets
# with libFuzzer; VORPY_SANITIZE builds everything, tests included, with both
# sanitizers. Either way the fuzz folder joins the build: without VORPY_FUZZ each fuzz
# target is a plain program that replays its inputs, which the tests run over the
# kept crash cases. Included from the top-level project right after project().
include_guard(GLOBAL)

option(VORPY_FUZZ "Build the libFuzzer targets, every library instrumented (clang)" OFF)
option(VORPY_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# Any report stops the program: a finding must fail the test or the fuzz run.
set(VORPY_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                          -fno-omit-frame-pointer)

if(VORPY_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VORPY_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link
                      -fsanitize-coverage-ignorelist=${CMAKE_CURRENT_LIST_DIR}/coverage_ignorelist.txt
                      -fsanitize-ignorelist=${CMAKE_CURRENT_LIST_DIR}/sanitizer_ignorelist.txt
                      ${VORPY_SANITIZER_FLAGS})
  add_link_options(${VORPY_SANITIZER_FLAGS})
elseif(VORPY_SANITIZE)
  add_compile_options(${VORPY_SANITIZER_FLAGS})
  add_link_options(${VORPY_SANITIZER_FLAGS})
endif()

# The pixel loops compare only sizes and coordinates with each other, pixel after pixel:
# tracing those comparisons cost more than the rest of a whole game and tells the fuzzer
# nothing, so their files keep the edge counters alone.
function(vorpy_fuzz_quiet_pixel_loops)
  set_source_files_properties(
    ${PROJECT_SOURCE_DIR}/src/platform/raster.cpp ${PROJECT_SOURCE_DIR}/src/platform/text.cpp
    DIRECTORY ${PROJECT_SOURCE_DIR}/src
    PROPERTIES COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)
endfunction()
if(VORPY_FUZZ)
  cmake_language(DEFER CALL vorpy_fuzz_quiet_pixel_loops)
endif()

# The targets link the subsystem libraries and join the tests, so they are added once
# the top level is done.
# Deferred arguments are expanded when the call runs, so the path is kept now.
set(VORPY_FUZZ_TARGETS_FILE ${CMAKE_CURRENT_LIST_DIR}/targets.cmake)
cmake_language(DEFER CALL include ${VORPY_FUZZ_TARGETS_FILE})
