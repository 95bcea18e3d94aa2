# Digits that fit and the full-screen monitor: the rules, then the windows that use them.
tarvik_add_test(NAME tst_digitfit SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_digitfit.cpp
  LIBS tarvik_bigscreen GUI)
tarvik_add_test(NAME tst_monitorchoice SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_monitorchoice.cpp
  LIBS tarvik_bigscreen)
# Monitors are plugged in and out through Qt's platform interface.
if(TARGET Qt6::GuiPrivate)
  tarvik_add_test(NAME tst_bigscreen SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_bigscreen.cpp
    LIBS tarvik_ui tarvik_app Qt6::GuiPrivate GUI)
endif()
tarvik_add_test(NAME tst_hidpi SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_hidpi.cpp
  LIBS tarvik_ui tarvik_app GUI)
