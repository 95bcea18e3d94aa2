# Commands, the right-click menu, function keys and display modes of the main window.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ShortcutValue.h ${CMAKE_CURRENT_LIST_DIR}/ShortcutValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Command.h ${CMAKE_CURRENT_LIST_DIR}/Command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandList.h ${CMAKE_CURRENT_LIST_DIR}/CommandList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AccessKeys.h ${CMAKE_CURRENT_LIST_DIR}/AccessKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuItem.h ${CMAKE_CURRENT_LIST_DIR}/MenuItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PopupMenu.h ${CMAKE_CURRENT_LIST_DIR}/PopupMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeyDispatcher.h ${CMAKE_CURRENT_LIST_DIR}/KeyDispatcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContextMenuHook.h ${CMAKE_CURRENT_LIST_DIR}/ContextMenuHook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DisplayModes.h ${CMAKE_CURRENT_LIST_DIR}/DisplayModes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SaveDurationCommand.h ${CMAKE_CURRENT_LIST_DIR}/SaveDurationCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParamCommand.h ${CMAKE_CURRENT_LIST_DIR}/ParamCommand.cpp
)
# The command names of the countdown states come from the engine.
if(TARGET tarvik_engine)
  target_link_libraries(tarvik_ui PUBLIC tarvik_engine)
else()
  target_include_directories(tarvik_ui PUBLIC ${PROJECT_SOURCE_DIR}/src/engine)
endif()
