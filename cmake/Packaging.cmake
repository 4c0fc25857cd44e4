# Installation into the standard folders, and the Debian package of the same files (CPack):
# the application with its offline model beside it, the menu entry, the icon theme, the
# AppStream metainfo and the documentation. `cmake --install BUILD --prefix P` lays out under P
# exactly what the package lays out under /usr.

# Debian's documentation folder is named after the package.
set(CMAKE_INSTALL_DOCDIR share/doc/qx8control CACHE PATH "Documentation (DOCDIR)")
include(GNUInstallDirs)

set(QX8_APP_ID com.velmor.QX8Control)
set(QX8_MAINTAINER "Velmor <qx8control@velmor.com>")
# The day this version was released, as the Debian changelog writes it.
set(QX8_RELEASE_DAY "Tue, 08 Dec 2026")

string(REGEX MATCH "^[A-Z][a-z][a-z], ([0-3][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])$"
       day_parts "${QX8_RELEASE_DAY}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${CMAKE_MATCH_2}" month)
if(NOT day_parts OR month LESS 0)
    message(FATAL_ERROR "QX8_RELEASE_DAY is not a day as \"Tue, 08 Dec 2026\": ${QX8_RELEASE_DAY}")
endif()
math(EXPR month "${month} + 1")
string(LENGTH "${month}" digits)
if(digits EQUAL 1)
    set(month "0${month}")
endif()
set(QX8_RELEASE_DATE "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
set(QX8_RELEASE_DATE_RFC2822 "${QX8_RELEASE_DAY} 00:00:00 +0000")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)

# The application finds the virtual processor (its offline model) beside itself.
install(TARGETS QX8Control VirtualQX8 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${packaging}/${QX8_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging}/${QX8_APP_ID}.metainfo.xml.in
               ${generated}/${QX8_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${QX8_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon in every size of the hicolor theme and as SVG, drawn like every other picture.
set(icon_theme ${generated}/icons)
add_custom_command(
    OUTPUT ${icon_theme}/drawn
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${icon_theme}/hicolor
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:qx8pictures> --icon-theme ${QX8_APP_ID} ${icon_theme}
    COMMAND ${CMAKE_COMMAND} -E touch ${icon_theme}/drawn
    DEPENDS qx8pictures
    COMMENT "Drawing the application's icon theme"
    VERBATIM)
add_custom_target(qx8icontheme ALL DEPENDS ${icon_theme}/drawn)
install(DIRECTORY ${icon_theme}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Debian's changelog, compressed without a name or time stamp, so that builds repeat.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
configure_file(${packaging}/changelog.Debian.in ${generated}/changelog.Debian @ONLY)
add_custom_command(
    OUTPUT ${generated}/changelog.Debian.gz
    COMMAND ${GZIP_EXECUTABLE} -9nkf ${generated}/changelog.Debian
    DEPENDS ${generated}/changelog.Debian
    VERBATIM)
add_custom_target(qx8changelog ALL DEPENDS ${generated}/changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging}/copyright
              ${generated}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qx8control)
set(CPACK_PACKAGE_VENDOR Velmor)
set(CPACK_PACKAGE_CONTACT "${QX8_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "remote control for the Spandrell QX8 loudspeaker processor")
set(CPACK_PACKAGE_DESCRIPTION
    "QX8Control finds Spandrell QX8 loudspeaker-management processors on the
local network, logs in over their text console and shows every setting of the
unit: the signal chain, equalisers, crossover, limiters, delays, the analyser
and the set-up wizards. Presets, speaker tunings and firmware move between the
unit and this computer.
.
VirtualQX8, the offline model of the processor, is installed beside it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps; what no linker sees is listed here:
# the QML modules the pages import (QtQuick.Window for the Controls' own combo box and menu), and
# Python with pyftpdlib for the offline model's FTP server.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-controls2, qml-module-qtquick-layouts, \
qml-module-qtqml, qml-module-qtquick-window2, python3, python3-pyftpdlib")
# The pages are laid out in Arial, whose metrics Liberation Sans has.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
include(CPack)

# The probe that scripts/package-check.sh installs into a bare root beside the package.
add_subdirectory(${PROJECT_SOURCE_DIR}/packaging/check ${PROJECT_BINARY_DIR}/packaging/check
                 EXCLUDE_FROM_ALL)
