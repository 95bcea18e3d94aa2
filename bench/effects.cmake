# SPDX-License-Identifier: GPL-3.0-or-later
include_guard(GLOBAL)
# Frame costs of the roll and loading a large photograph into the corner picture.
add_executable(bench_effects ${CMAKE_CURRENT_LIST_DIR}/bench_effects.cpp)
target_link_libraries(bench_effects PRIVATE tarvik_effects benchmark::benchmark)
# The clip-art metafile is written with libuemf's writers.
target_link_libraries(bench_effects PRIVATE ${UEMF_LIBRARY})
target_include_directories(bench_effects SYSTEM PRIVATE ${UEMF_INCLUDE_DIR})
# The test photograph is shared with the corner picture's tests.
target_include_directories(bench_effects PRIVATE ${PROJECT_SOURCE_DIR}/tests/effects)

# Lateness of a one-second tick while rolls play, and the processor time they use.
add_executable(effects_rollmeter ${CMAKE_CURRENT_LIST_DIR}/effects_rollmeter.cpp)
target_link_libraries(effects_rollmeter PRIVATE tarvik_effects)
target_include_directories(effects_rollmeter PRIVATE ${PROJECT_SOURCE_DIR}/tests/effects)

# Peak memory of decoding JPEG pictures, the program's capped decoder against plain libjpeg.
add_executable(jpeg_peak_memory ${CMAKE_CURRENT_LIST_DIR}/jpeg_peak_memory.cpp)
target_link_libraries(jpeg_peak_memory PRIVATE tarvik_effects)
