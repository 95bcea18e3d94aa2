tarvik_add_test(NAME tst_spinfieldrules SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_spinfieldrules.cpp
  LIBS tarvik_ui)
tarvik_add_test(NAME tst_spinfield SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_spinfield.cpp
  LIBS tarvik_ui GUI)
tarvik_add_test(NAME tst_counterfield SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_counterfield.cpp
  LIBS tarvik_ui GUI)
tarvik_add_test(NAME tst_singlelinetext SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_singlelinetext.cpp
  LIBS tarvik_ui GUI)
