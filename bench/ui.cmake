# SPDX-License-Identifier: GPL-3.0-or-later
include_guard(GLOBAL)
# A real countdown under processor load: finish error, display-change lateness and,
# with a rolling corner picture, the processor time of the rolls.
add_executable(countdown_finish ${CMAKE_CURRENT_LIST_DIR}/countdown_finish.cpp)
target_link_libraries(countdown_finish PRIVATE tarvik_ui tarvik_pubunit tarvik_sound_builtin)
# A bare Qt window, the reference the start-up, memory and wake-up scripts hold the program to.
add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets)
# A resize with the digits fitted to the display, beside one with a fixed font size.
add_executable(bigscreen_refit ${CMAKE_CURRENT_LIST_DIR}/bigscreen_refit.cpp)
target_link_libraries(bigscreen_refit PRIVATE tarvik_ui tarvik_pubunit)

# Back-to-back countdowns with picture and sound: descriptors and memory over time.
add_executable(soak_countdowns ${CMAKE_CURRENT_LIST_DIR}/soak_countdowns.cpp)
target_link_libraries(soak_countdowns PRIVATE tarvik_ui tarvik_pubunit)

# Starts a program and waits on X events until its window shows and is first drawn: the
# start-up scripts' timer.
pkg_check_modules(BENCH_XCB IMPORTED_TARGET xcb xcb-damage)
if(BENCH_XCB_FOUND)
  add_executable(window_start ${CMAKE_CURRENT_LIST_DIR}/window_start.cpp)
  target_link_libraries(window_start PRIVATE PkgConfig::BENCH_XCB)
endif()
