# The notification-area icon and the clock icon it shows.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.h ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.h ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/StatusNotifierHost.h ${CMAKE_CURRENT_LIST_DIR}/platform/StatusNotifierHost.cpp
)
target_link_libraries(tarvik_ui PRIVATE Qt6::DBus)
