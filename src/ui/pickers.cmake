# Colour, font-size and file-name pickers of the settings dialog.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DropDownListStyle.h ${CMAKE_CURRENT_LIST_DIR}/DropDownListStyle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FontSizeItemDelegate.h ${CMAKE_CURRENT_LIST_DIR}/FontSizeItemDelegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FontSizePicker.h ${CMAKE_CURRENT_LIST_DIR}/FontSizePicker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileNameRules.h ${CMAKE_CURRENT_LIST_DIR}/FileNameRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowseButton.h ${CMAKE_CURRENT_LIST_DIR}/BrowseButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FilenameEdit.h ${CMAKE_CURRENT_LIST_DIR}/FilenameEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TypeAheadSearch.h ${CMAKE_CURRENT_LIST_DIR}/TypeAheadSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorItemDrawing.h ${CMAKE_CURRENT_LIST_DIR}/ColorItemDrawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorItemDelegate.h ${CMAKE_CURRENT_LIST_DIR}/ColorItemDelegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorPicker.h ${CMAKE_CURRENT_LIST_DIR}/ColorPicker.cpp
)
