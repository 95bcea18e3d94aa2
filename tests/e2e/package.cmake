# SPDX-License-Identifier: GPL-3.0-or-later
# The .deb built from a Release tree of its own, installed, used by an ordinary user and
# removed. Labelled so it can be left out: ctest -LE package.
add_test(NAME e2e_package
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package.sh ${PROJECT_SOURCE_DIR}
          ${PROJECT_BINARY_DIR}/package-e2e)
set_tests_properties(e2e_package PROPERTIES
  RUN_SERIAL TRUE
  TIMEOUT 2400
  SKIP_RETURN_CODE 77
  LABELS "e2e;package"
  ENVIRONMENT "LC_ALL=C.UTF-8")
