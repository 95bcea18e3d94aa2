# SPDX-License-Identifier: GPL-3.0-or-later
include_guard(GLOBAL)
add_executable(bench_settings bench_settings.cpp)
target_link_libraries(bench_settings PRIVATE tarvik_settings benchmark::benchmark)
