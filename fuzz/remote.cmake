# SPDX-License-Identifier: GPL-3.0-or-later
# The remote's request and message parsing; its seeds replay as a test.
tarvik_add_fuzz(NAME remote_request SOURCES fuzz_remote_request.cpp LIBS tarvik_remote_rules)
add_test(NAME fuzz_remote_request_seeds
  COMMAND fuzz_remote_request_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/remote_request)
set_tests_properties(fuzz_remote_request_seeds PROPERTIES ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
