# What `cmake --install` puts where, and the .deb CPack builds from it:
#   cpack --config BUILD/CPackConfig.cmake -B OUTDIR
# Tests, benchmarks, samples and fuzzers are build products only.
include(GNUInstallDirs)

install(TARGETS moswit-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES docs/moswit-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(MOSWIT_BUILD_GUI)
  install(TARGETS moswit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/moswit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size IN LISTS MOSWIT_ICON_SIZES)
    install(FILES data/icons/hicolor/${size}x${size}/apps/moswit.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES data/icons/moswit.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The documents keep the source tree's layout, so their links to
# docs/screenshots (README) and screenshots (the guide) still work. The
# folder is named after the package, not the project.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/moswit)
install(FILES README.md DESTINATION ${docdir})
install(FILES docs/guide.md DESTINATION ${docdir}/docs)
install(DIRECTORY docs/screenshots DESTINATION ${docdir}/docs FILES_MATCHING PATTERN "*.png")

set(MOSWIT_PACKAGE_MAINTAINER "Moswit developers <moswit@example.org>"
    CACHE STRING "The Maintainer field of the .deb")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME moswit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "identify Amiga disk images file by file")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Moswit identifies Amiga Disk Files (ADF) file by file: it walks the AmigaDOS\n"
       "filesystem on each image and matches every file's CRC-32 and size, and single\n"
       "blocks, against a Disk Image Database (DID, a text file). Its windows also\n"
       "inspect and compare images and edit DID files. moswit-cli identifies, lists\n"
       "and compares images for scripts. Images are only ever read.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MOSWIT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps names the packages of the libraries the programs link
# (Qt 6 Widgets, Gui and Core, zlib, the C++ runtime) as this machine has them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
