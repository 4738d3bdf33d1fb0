# Installation into the usual places (cmake --install), and a Debian package
# of that installation (cpack -G DEB; scripts/package.sh runs it).
include(GNUInstallDirs)

set(PRISTROJE_APP_ID "cz.kerbanit.pristroje")
# The program has no home page yet: without one the package and the AppStream
# metadata name none (and show no screenshot, which would have to be
# fetched from it).
set(PRISTROJE_HOMEPAGE "" CACHE STRING
    "Home page of the program, for the package and the AppStream metadata (none when empty)")
set(PRISTROJE_MAINTAINER "Učitelské přístroje <pristroje@example.org>" CACHE STRING
    "Maintainer of the Debian package")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS pristroje RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${PRISTROJE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/pristroje.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(PRISTROJE_METAINFO_HOMEPAGE "")
set(PRISTROJE_METAINFO_SCREENSHOTS "")
if(PRISTROJE_HOMEPAGE)
  set(PRISTROJE_METAINFO_HOMEPAGE "  <url type=\"homepage\">${PRISTROJE_HOMEPAGE}</url>\n")
  string(CONCAT PRISTROJE_METAINFO_SCREENSHOTS
    "  <screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>The ammeter, the voltmeter and the source voltmeter on the virtual bench</caption>\n"
    "      <caption xml:lang=\"cs\">"
    "Ampérmetr, voltmetr a voltmetr zdroje na virtuálním měřicím pracovišti</caption>\n"
    "      <image type=\"source\" width=\"806\" height=\"585\">${PRISTROJE_HOMEPAGE}/doc/pristroje.png</image>\n"
    "    </screenshot>\n"
    "  </screenshots>\n")
endif()
configure_file(data/${PRISTROJE_APP_ID}.metainfo.xml.in ${PRISTROJE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${PRISTROJE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

find_program(PRISTROJE_GZIP gzip REQUIRED)
add_custom_command(OUTPUT changelog.gz
                   COMMAND ${PRISTROJE_GZIP} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/data/changelog > changelog.gz
                   DEPENDS data/changelog VERBATIM)

# The manual page: synopsis and options from the program's own --help,
# the rest from data/pristroje.h2m. Not for sanitizer builds, which are not installed.
find_program(PRISTROJE_HELP2MAN help2man)
if(PRISTROJE_HELP2MAN AND NOT PRISTROJE_SANITIZE)
  add_custom_command(OUTPUT pristroje.1 pristroje.1.gz
                     COMMAND ${PRISTROJE_HELP2MAN} --no-info --section=1 --source=pristroje
                             --include=${CMAKE_CURRENT_SOURCE_DIR}/data/pristroje.h2m
                             --output=pristroje.1 $<TARGET_FILE:pristroje>
                     COMMAND ${PRISTROJE_GZIP} -9n -c pristroje.1 > pristroje.1.gz
                     DEPENDS pristroje data/pristroje.h2m VERBATIM)
  add_custom_target(pristroje_manual ALL DEPENDS pristroje.1.gz changelog.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/pristroje.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  add_custom_target(pristroje_manual ALL DEPENDS changelog.gz)
  if(NOT PRISTROJE_SANITIZE)
    message(STATUS "help2man not found: the manual page is not built (scripts/deps.sh installs it)")
  endif()
endif()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: build/package/pristroje_<version>_<arch>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pristroje)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PRISTROJE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom AC ammeter, AC voltmeter and sine generator")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PRISTROJE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(PRISTROJE_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PRISTROJE_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Učitelské přístroje turns a PC sound card and a small measuring unit on
its line input into big on-screen instruments for a physics classroom:
an AC ammeter, an AC voltmeter, and a sine generator on the card's output
with the voltmeter of its source. Each instrument is an auto-ranging
analog band meter with a sliding pointer, or a large digital readout.

Without the measuring unit the program runs on a built-in virtual
measuring bench.")
# Libraries (Qt, ALSA, libsndfile, libsamplerate) found by dpkg-shlibdeps;
# the fonts the faces are drawn with, and the SVG support of Qt for the window
# icon, are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The lab's graphs (QCustomPlot, Qt's SVG module for the graph as SVG), its
# fits (GSL), libxcb (asked whether an X11 window manager does full screen)
# and the class view's server (Qt HTTP Server, Qt WebSockets, libqrencode for
# the QR code) are found by dpkg-shlibdeps as well; named here so that the
# package says so. The class view's graph library is written into the program.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-urw-base35, fonts-dejavu-core, libqt6svg6, libqcustomplot2.1-qt6, libgsl27, libxcb1, libqt6httpserver6, libqt6websockets6, libqrencode4")
# On a Wayland desktop (Debian's GNOME) Qt runs natively with its Wayland
# platform plugin; without it the window goes through XWayland. Qt's own
# translations make its dialogs (files, questions) speak the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
