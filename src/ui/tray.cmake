# The notification-area icon and the clock icon it shows.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.h ${CMAKE_CURRENT_LIST_DIR}/ClockIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.h ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp
)
