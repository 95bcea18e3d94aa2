# The notification-area icon and the clock icon it shows.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.h ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayClicks.h ${CMAKE_CURRENT_LIST_DIR}/TrayClicks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.h ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TrayButtons.h
  ${CMAKE_CURRENT_LIST_DIR}/platform/StatusNotifierHost.h ${CMAKE_CURRENT_LIST_DIR}/platform/StatusNotifierHost.cpp
)
target_link_libraries(tarvik_ui PRIVATE Qt6::DBus)
# The buttons on the X11 notification area's icon are taken from the X events.
pkg_check_modules(TARVIK_XCB_XINPUT IMPORTED_TARGET xcb-xinput)
if(TARVIK_XCB_FOUND AND TARVIK_XCB_XINPUT_FOUND AND TARGET Qt6::Gui)
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TrayButtons_x11.cpp)
  target_link_libraries(tarvik_ui PRIVATE PkgConfig::TARVIK_XCB PkgConfig::TARVIK_XCB_XINPUT)
else()
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TrayButtons_other.cpp)
endif()
