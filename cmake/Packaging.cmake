# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by scripts/package.sh from a Release build configured with the
# prefix /usr. The package's prefix is the configured one, so the program finds itself
# installed where it was built to be.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik-timer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik timer developers")
set(CPACK_PACKAGE_CONTACT "Tarvik timer developers <dev@tarvik.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TARVIK_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "countdown timer in very large digits, with an alarm sound
Tarvik倒计时计时器 counts down a duration of hours, minutes and seconds and
shows the time left in digits that fill its window, up to the full screen.
An alarm sound starts a chosen number of seconds before the end; a small
picture can roll in the corner; a notification-area icon, a menu and the
function keys F4 to F12 give its commands. The interface is in Simplified
Chinese.")
# The libraries come from the program itself; GStreamer's plugins play the MP3 alarm, and
# Qt's own translations make its standard buttons and edit menus Chinese too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, qt6-wayland")

include(CPack)
