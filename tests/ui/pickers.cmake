tarvik_add_test(NAME tst_filenamerules SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_filenamerules.cpp
  LIBS tarvik_ui)
tarvik_add_test(NAME tst_filenameedit SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_filenameedit.cpp
  LIBS tarvik_ui GUI)
tarvik_add_test(NAME tst_fontsizepicker SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_fontsizepicker.cpp
  LIBS tarvik_ui GUI)
tarvik_add_test(NAME tst_typeaheadsearch SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_typeaheadsearch.cpp
  LIBS tarvik_ui)
tarvik_add_test(NAME tst_colorpicker SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_colorpicker.cpp
  LIBS tarvik_ui GUI)
