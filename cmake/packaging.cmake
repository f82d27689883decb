# The Linux package: `cpack -G DEB` in a build tree makes quelmar_VERSION_ARCH.deb
# from the install rules, with its dependencies computed by dpkg-shlibdeps.
include(GNUInstallDirs)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quelmar)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(quelmar-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz
        DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quelmar maintainers <quelmar@dellmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D starship screen saver for XScreenSaver and other X11 hosts")
# Debian wraps the long description itself no more than we do here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A lit, partly textured starship cruises through a shell of stars, jumps to"
  "warp with a flash and coloured streaks, and now and then meets a textured"
  "cube that it exchanges beams with."
  "."
  "The saver runs under XScreenSaver (with a settings description for its"
  "settings app), xsecurelock and the MATE and Xfce screen savers, and alone"
  "in a window of its own. Its five settings are kept in the same INI file"
  "as the Windows saver's.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.dellmora.example/quelmar)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver | xsecurelock | mate-screensaver | xfce4-screensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
