# The notification-area icon, the clock icon it shows and what follows the notification area.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.h ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayClicks.h ${CMAKE_CURRENT_LIST_DIR}/TrayClicks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.h ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TrayButtons.h
  ${CMAKE_CURRENT_LIST_DIR}/platform/StatusNotifierHost.h ${CMAKE_CURRENT_LIST_DIR}/platform/StatusNotifierHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcher.h ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcherDBus.h ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcherDBus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcherX11.h
)
target_link_libraries(tarvik_ui PRIVATE Qt6::DBus)

pkg_check_modules(TARVIK_XCB_XFIXES IMPORTED_TARGET xcb xcb-xfixes)
if(TARVIK_XCB_XFIXES_FOUND AND TARGET Qt6::Gui)
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcherX11.cpp)
  target_link_libraries(tarvik_ui PRIVATE PkgConfig::TARVIK_XCB_XFIXES)
else()
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TrayHostWatcherX11_none.cpp)
endif()

# The buttons on the X11 notification area's icon are taken from the X events.
pkg_check_modules(TARVIK_XCB_XINPUT IMPORTED_TARGET xcb-xinput)
if(TARVIK_XCB_FOUND AND TARVIK_XCB_XINPUT_FOUND AND TARGET Qt6::Gui)
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TrayButtons_x11.cpp)
  target_link_libraries(tarvik_ui PRIVATE PkgConfig::TARVIK_XCB PkgConfig::TARVIK_XCB_XINPUT)
else()
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/TrayButtons_other.cpp)
endif()
