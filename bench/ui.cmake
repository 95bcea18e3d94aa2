include_guard(GLOBAL)
# A real countdown under processor load: finish error and display-change lateness.
add_executable(countdown_finish ${CMAKE_CURRENT_LIST_DIR}/countdown_finish.cpp)
target_link_libraries(countdown_finish PRIVATE tarvik_ui tarvik_app)
