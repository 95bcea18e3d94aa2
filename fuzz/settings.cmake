# SPDX-License-Identifier: GPL-3.0-or-later
# The settings fuzz targets; each replays its seeds as a test.
foreach(target integer_from_text text_to_color text_to_bool ini_reader)
  tarvik_add_fuzz(NAME ${target} SOURCES fuzz_${target}.cpp LIBS tarvik_settings)
  add_test(NAME fuzz_${target}_seeds
    COMMAND fuzz_${target}_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${target})
  set_tests_properties(fuzz_${target}_seeds PROPERTIES ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endforeach()
