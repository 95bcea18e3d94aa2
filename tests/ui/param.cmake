if(EXISTS ${PROJECT_SOURCE_DIR}/src/ui/ColorPicker.h)
  tarvik_add_test(NAME tst_frm_param SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frm_param.cpp
    LIBS tarvik_ui tarvik_app GUI)
endif()
tarvik_add_test(NAME tst_settingsschema SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_settingsschema.cpp
  LIBS tarvik_ui tarvik_app GUI)
