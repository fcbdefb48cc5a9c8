# The Debian package, `cpack -G DEB` in a build configured with the prefix
# /usr (scripts/make-packages does both): tavlixconnect_<version>_<arch>.deb.
# Its dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tavlixconnect)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Tavlix developer <dev@tavlix.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "connect a scanning whiteboard attached by USB")
# The long description, below the summary line.
set(CPACK_PACKAGE_DESCRIPTION "The board shows up as a removable drive labelled with its model code.
TavlixConnect, a toolbar and tray icon started with every desktop session,
tells the board to scan or feed the sheet, shows the progress and copies
every new picture into the save folder, converted to PNG, JPEG or PDF.
The command line tavlix does the same from scripts, and a systemd user
unit (tavlix-watch.service, not enabled) collects without a desktop.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Open folder and Help hand the folder and the page to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The start at logon lives under /etc: a conffile, which only a purge removes.
file(WRITE "${PROJECT_BINARY_DIR}/packaging/conffiles" "${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart/tavlixconnect.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PROJECT_BINARY_DIR}/packaging/conffiles")
include(CPack)
