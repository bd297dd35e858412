# Installation and the Debian package:
#   cmake --install build --prefix /usr/local
#   scripts/package                      (cpack; prints the path of the .deb)
include(GNUInstallDirs)

install(TARGETS tesmar
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)
if(TARGET tesmar-devserver)
    install(TARGETS tesmar-devserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(UNIX AND NOT APPLE)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/tesmar.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # The logo's emblem, square as menus want it (drawn by scripts/draw-icons.cpp).
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/tesmar.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
endif()

set(CPACK_PACKAGE_NAME tesmar)
set(CPACK_PACKAGE_VENDOR "Tesmar")
set(CPACK_PACKAGE_CONTACT "Tesmar developers <tesmar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Provisions LoRaWAN end devices on a network server")
set(CPACK_PACKAGE_DESCRIPTION "Tesmar reads each device's keys from a barcode scanner on a \
serial port, looks the device up on the network server, registers it with the chosen radio \
settings and shows the server's verdict. Includes tesmar-devserver, a development network server.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The Qt libraries are found by dpkg-shlibdeps; the platform plugins that
# show the window are loaded at run time and must be named. Qt 5 ships them
# in its GUI library's package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TESMAR_QT_MAJOR EQUAL 6)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()

include(CPack)
