# Installing Korvane like any Linux program, and its Debian package.
#
#   bin/korvane                         the program
#   lib/korvane/libVidaz.so             its customisation library
#   share/korvane/Countries.dat         the country list, help/ and life/
#   share/applications/korvane.desktop  the desktop menu's entry
#   share/icons/hicolor/scalable/apps/korvane.svg
#   share/metainfo/example.tarnwick_software.korvane.metainfo.xml
#                                       the software centres' description
#
# The program finds its files there as well as beside itself (UFiles::
# ShippedFile). `./build.sh package` builds the package with CPack; its
# dependencies are read from the binaries by dpkg-shlibdeps (dpkg-dev).

install(TARGETS korvane RUNTIME DESTINATION bin)
install(TARGETS Vidaz LIBRARY DESTINATION lib/korvane)
install(FILES ${PROJECT_SOURCE_DIR}/resources/Countries.dat DESTINATION share/korvane)
# The help pages and the About Life pictures, which the build puts beside
# the executable.
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help/ DESTINATION share/korvane/help OPTIONAL)
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/life/ DESTINATION share/korvane/life OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/resources/korvane.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/korvane.svg
        DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/example.tarnwick_software.korvane.metainfo.xml
        DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Tarnwick Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tarnwick Software <support@tarnwick-software.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service desk for a small field-service workshop")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description below the summary; CPack indents it for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Korvane keeps a workshop's customers and their contact persons, the
equipment they own, service contracts, workers and the service calls, each
moved from new to complete with a dated comment line for every change. Calls print as job cards; the database backs up to ZIP archives and
exports to XML.

One user, one process. The data is kept in SQLite files in the user's data
folder, or in a database folder given with --database.")
include(CPack)
