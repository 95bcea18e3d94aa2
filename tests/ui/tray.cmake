tarvik_add_test(NAME tst_trayicon SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trayicon.cpp
  LIBS tarvik_ui GUI)
tarvik_add_test(NAME tst_trayhostwatcher SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trayhostwatcher.cpp
  LIBS tarvik_ui Qt6::DBus GUI)
