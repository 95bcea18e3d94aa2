# The settings dialog.
target_sources(tarvik_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_param.h ${CMAKE_CURRENT_LIST_DIR}/frm_param.cpp
)
target_link_libraries(tarvik_ui PUBLIC tarvik_app tarvik_settings)
# The window manager's frame around the dialog and its owner, for centring.
target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/FrameExtents.h)
pkg_check_modules(TARVIK_XCB_FRAME IMPORTED_TARGET xcb)
if(TARVIK_XCB_FRAME_FOUND AND TARGET Qt6::Gui)
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/FrameExtents_x11.cpp)
  target_link_libraries(tarvik_ui PRIVATE PkgConfig::TARVIK_XCB_FRAME)
else()
  target_sources(tarvik_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/platform/FrameExtents_other.cpp)
endif()
