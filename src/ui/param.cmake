# The settings dialog.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_param.h ${CMAKE_CURRENT_LIST_DIR}/frm_param.cpp
)
target_link_libraries(tarvik_ui PUBLIC tarvik_app tarvik_settings)
