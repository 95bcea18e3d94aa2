# SPDX-License-Identifier: GPL-3.0-or-later
# Measures opening a five-minute MP3 and the time play takes to return.
add_executable(bench_media_open ${CMAKE_CURRENT_LIST_DIR}/bench_media_open.cpp)
target_link_libraries(bench_media_open PRIVATE tarvik_media tarvik_sound_builtin)
