tarvik_add_test(NAME tst_frm_main SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frm_main.cpp
  LIBS tarvik_ui tarvik_app GUI)
tarvik_add_test(NAME tst_errorguard SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_errorguard.cpp
  LIBS tarvik_ui GUI)
# The alarm test makes its sound with the media tests' helper.
target_include_directories(tst_frm_main PRIVATE ${PROJECT_SOURCE_DIR}/tests/media)
tarvik_add_test(NAME tst_frm_main_fields SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frm_main_fields.cpp
  LIBS tarvik_ui tarvik_app GUI)
