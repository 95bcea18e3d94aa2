# The main window, the error box and what differs between window systems.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxes.h ${CMAKE_CURRENT_LIST_DIR}/MessageBoxes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorGuard.h ${CMAKE_CURRENT_LIST_DIR}/ErrorGuard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frm_main.h ${CMAKE_CURRENT_LIST_DIR}/frm_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/DesktopPlatform.h ${CMAKE_CURRENT_LIST_DIR}/platform/DesktopPlatform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TaskbarPresence.h ${CMAKE_CURRENT_LIST_DIR}/platform/TaskbarPresence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TaskbarPresenceX11.h
)
target_link_libraries(tarvik_ui PUBLIC tarvik_engine tarvik_app tarvik_settings tarvik_media tarvik_effects)

pkg_check_modules(TARVIK_XCB IMPORTED_TARGET xcb)
if(TARVIK_XCB_FOUND AND TARGET Qt6::Gui)
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TaskbarPresenceX11.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform/X11TraySelection.h ${CMAKE_CURRENT_LIST_DIR}/platform/X11TraySelection.cpp)
  target_link_libraries(tarvik_ui PRIVATE PkgConfig::TARVIK_XCB)
else()
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TaskbarPresenceX11_none.cpp)
endif()
