# Digits that fill the display and full screen on a chosen monitor. The rules are a
# library of their own with no widgets; the main window's glue is in tarvik_ui.
add_library(tarvik_bigscreen STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DigitFit.h ${CMAKE_CURRENT_LIST_DIR}/DigitFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonitorChoice.h ${CMAKE_CURRENT_LIST_DIR}/MonitorChoice.cpp
)
target_include_directories(tarvik_bigscreen PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarvik_bigscreen PUBLIC Qt6::Gui)

target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BigScreen.h ${CMAKE_CURRENT_LIST_DIR}/BigScreen.cpp
)
target_link_libraries(tarvik_ui PUBLIC tarvik_bigscreen)
