# SPDX-FileCopyrightText: 2026 The Vorpy developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzz targets, included at the end of the top-level project: one program per file in
# targets/, each linking the libraries whose parser it drives. With VORPY_FUZZ they are libFuzzer programs; otherwise the replay
# driver gives them a main() that runs each input file once, and the tests replay
# every target over its kept crash cases and its seed corpus.

# A build of the program alone (the Debian package's) has no use for them.
if(NOT VORPY_FUZZ AND NOT VORPY_TESTS)
  return()
endif()

# The libraries each target needs, by target name.
set(fuzz_libraries_settings vorpy_menu)
set(fuzz_libraries_menu_file vorpy_menu)
set(fuzz_libraries_score_file vorpy_scores)
set(fuzz_libraries_bmp vorpy_platform)
set(fuzz_libraries_jpeg_picture vorpy_graphics)
set(fuzz_libraries_read_line vorpy_base)
set(fuzz_libraries_headless_script vorpy_app)
set(fuzz_libraries_kept_game vorpy_flow)
# Targets that play the game need the generated game folder.
set(fuzz_game_data_targets headless_script)

add_library(vorpy_fuzz_support STATIC ${CMAKE_CURRENT_LIST_DIR}/support.cpp)
target_link_libraries(vorpy_fuzz_support PUBLIC vorpy_base)
target_include_directories(vorpy_fuzz_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
if(NOT VORPY_FUZZ)
  add_library(vorpy_fuzz_replay STATIC ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp)
  target_link_libraries(vorpy_fuzz_replay PRIVATE vorpy_fuzz_support)
endif()

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/targets/*.cpp)
set(fuzz_targets)
foreach(source ${fuzz_sources})
  get_filename_component(name ${source} NAME_WE)
  set(target fuzz_${name})
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE vorpy_fuzz_support ${fuzz_libraries_${name}})
  if(name IN_LIST fuzz_game_data_targets)
    target_compile_definitions(${target} PRIVATE VORPY_GAME_DIR="${CMAKE_BINARY_DIR}/game")
    add_dependencies(${target} vorpy_game_data)
  endif()
  if(VORPY_FUZZ)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    # A target's own mutator, where it has one: it calls libFuzzer's own mutations.
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/mutators/${name}.cpp)
      target_sources(${target} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/mutators/${name}.cpp)
    endif()
  else()
    target_link_libraries(${target} PRIVATE vorpy_fuzz_replay)
  endif()
  list(APPEND fuzz_targets ${target})

  if(VORPY_TESTS)
    # "-runs=0" makes a libFuzzer build only replay too; the replay driver skips options.
    add_test(NAME ${target}_regressions
             COMMAND ${target} -runs=0 ${CMAKE_CURRENT_LIST_DIR}/regressions/${name}
                     ${CMAKE_CURRENT_LIST_DIR}/corpus/${name})
    set_tests_properties(${target}_regressions PROPERTIES
      ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
  endif()
endforeach()

# Builds every fuzz target; scripts/fuzz asks for this one.
add_custom_target(vorpy_fuzz_targets DEPENDS ${fuzz_targets})
