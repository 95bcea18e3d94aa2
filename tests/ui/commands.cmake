tarvik_add_test(NAME tst_commands SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_commands.cpp
  LIBS tarvik_ui tarvik_engine GUI)
tarvik_add_test(NAME tst_commandhandlers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_commandhandlers.cpp
  LIBS tarvik_ui GUI)
