# The Linux packages, both from the install rules: `cpack -G DEB` in a build tree
# makes quelmar_VERSION-1_ARCH.deb (dependencies from dpkg-shlibdeps), `cpack -G RPM`
# quelmar-VERSION-1.ARCH.rpm (dependencies from rpmbuild's ELF scan).
include(GNUInstallDirs)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quelmar)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(quelmar-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/share/changelog.Debian.gz
        DESTINATION ${doc_dir})

# rpm_changelog(DEBIAN RPM): writes the Debian changelog DEBIAN as the entries of
# RPM's %changelog, newest first as in DEBIAN:
#   * Sun Dec 07 2025 NAME <MAIL> - VERSION-RELEASE
#   - the first item, its continuation lines indented by two
function(rpm_changelog debian rpm)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${debian})
  file(READ ${debian} text)
  string(REPLACE ";" "\\;" text "${text}")
  string(REPLACE "%" "%%" text "${text}")  # rpmbuild expands macros in it
  string(REPLACE "\n" ";" lines "${text}")
  set(out "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[a-z0-9.+-]+ \\(([^)]+)\\)")
      set(version ${CMAKE_MATCH_1})
      set(items "")
    elseif(line MATCHES "^  \\* (.*)")
      string(APPEND items "- ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^    (.*)")
      string(APPEND items "  ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^ -- (.+)  ([A-Z][a-z][a-z]), ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ")
      string(APPEND out "* ${CMAKE_MATCH_2} ${CMAKE_MATCH_4} ${CMAKE_MATCH_3} ${CMAKE_MATCH_5} ${CMAKE_MATCH_1} - ${version}\n${items}\n")
    endif()
  endforeach()
  file(WRITE ${rpm} "${out}")
endfunction()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quelmar maintainers <quelmar@dellmora.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.dellmora.example/quelmar)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D starship screen saver for XScreenSaver and other X11 hosts")
# Debian wraps the long description itself no more than we do here; a line
# of "." separates its paragraphs.
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
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver | xsecurelock | mate-screensaver | xfce4-screensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

rpm_changelog(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/share/changelog.rpm)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
# Not relocatable: the theme entry names the saver by its full path.
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(CPACK_RPM_PACKAGE_RELEASE ${CPACK_DEBIAN_PACKAGE_RELEASE})
string(REPLACE "\n.\n" "\n\n" CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RPM_PACKAGE_GROUP Amusements/Toys/Screensavers)
# The custom licence of packaging/copyright, in the SPDX form that RPM distributions use.
set(CPACK_RPM_PACKAGE_LICENSE LicenseRef-no-license-granted)
set(CPACK_RPM_PACKAGE_VENDOR "the Quelmar authors")
set(CPACK_RPM_CHANGELOG_FILE ${CMAKE_BINARY_DIR}/share/changelog.rpm)
set(packaged_doc ${CPACK_PACKAGING_INSTALL_PREFIX}/${doc_dir})
set(CPACK_RPM_USER_FILELIST "%license ${packaged_doc}/copyright" "%doc ${packaged_doc}/changelog.Debian.gz")
# The distribution's filesystem package owns these; our own folders below them
# (xscreensaver/, screensavers/, doc/quelmar/) we share with the hosts.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/libexec /usr/share/applications /usr/share/man /usr/share/man/man6)
# No /usr/lib/.build-id links: the .deb has none, and debug symbols are not shipped.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none\n%define packager ${CPACK_PACKAGE_CONTACT}")
include(CPack)
