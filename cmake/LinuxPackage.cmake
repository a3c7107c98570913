# What a Linux desktop gets beside the programs, the desktop entry, the icon and the sample item
# database (app/, mdbimport/): the manual pages, the software centre's entry (AppStream), the
# copyright and the changelog; and the Debian package of all that, made by CPack:
# `cpack -G DEB` in the build folder, or `make deb`.
include(GNUInstallDirs)

# The AppStream component's name: the reverse of the maintainers' domain.
set(TAMU_APPSTREAM_ID example.c_seed_b16c8688.tamu)
set(TAMU_PACKAGE_MAINTAINER "TAMU maintainers <maintainers@users.noreply.c-seed-b16c8688.example>"
    CACHE STRING "The Debian package's maintainer")

set(_src ${CMAKE_SOURCE_DIR}/packaging/linux)
set(_out ${CMAKE_BINARY_DIR}/packaging/linux)
set(VERSION ${PROJECT_VERSION})
configure_file(${_src}/tamu.1 ${_out}/tamu.1 @ONLY)
configure_file(${_src}/tamu-import-mdb.1 ${_out}/tamu-import-mdb.1 @ONLY)
configure_file(${_src}/changelog ${_out}/changelog COPYONLY)
configure_file(${_src}/tamu.metainfo.xml.in ${_out}/${TAMU_APPSTREAM_ID}.metainfo.xml @ONLY)
unset(VERSION)

# Debian wants manual pages and changelogs compressed the most, with no name or time in the
# header (-n), so that every build gives the same bytes. man reads them so everywhere.
find_program(TAMU_GZIP gzip REQUIRED)
set(_compressed)
foreach(file tamu.1 tamu-import-mdb.1 changelog)
  add_custom_command(OUTPUT ${_out}/${file}.gz
                     COMMAND ${TAMU_GZIP} -9nkf ${_out}/${file}
                     DEPENDS ${_out}/${file}
                     VERBATIM)
  list(APPEND _compressed ${_out}/${file}.gz)
endforeach()
add_custom_target(tamu_linux_docs ALL DEPENDS ${_compressed})

install(FILES ${_out}/tamu.1.gz ${_out}/tamu-import-mdb.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_out}/${TAMU_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The package's name, not the project's: /usr/share/doc/tamu.
install(FILES ${_src}/copyright ${_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tamu)

# The Debian package. Its dependencies are what dpkg-shlibdeps finds the programs linked with,
# and the plug-in and the fonts that are loaded at run time: Qt's SQLite driver and the IPA
# fonts the windows' Windows font names are mapped onto.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamu)
set(CPACK_PACKAGE_VENDOR "TAMU maintainers")
set(CPACK_PACKAGE_CONTACT "${TAMU_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "companion for a Warring States online role-playing game")
set(CPACK_PACKAGE_DESCRIPTION
    "TAMU is a desktop companion for players of an online role-playing game set
in Japan's Warring States period. A narrow tool bar stays on screen and opens
a status calculator with a table of levels 1 to 60, an analog clock of the
game world's fast clock, the ship timetable, a journey planner with alarms
before a ship comes in, sails or lands, and a production-recipe search over an
item database with a profit calculator, a shopping list and a profit ranking.

An item database in Access format (.mdb, .accdb) is imported at the next
start, or with the command tamu-import-mdb. All text the program shows is
Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAMU_PACKAGE_MAINTAINER}")
# A companion to a game, not a game: Debian's section games is for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-ipafont-gothic, fonts-ipafont-mincho")
# Qt's own dialogs in Japanese; Wayland without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
