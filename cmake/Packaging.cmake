# SPDX-License-Identifier: GPL-2.0-or-later
# What `cmake --install` puts where, and the .deb CPack builds from it:
#   cpack --config BUILD/CPackConfig.cmake -B OUTDIR
# Tests, benchmarks, samples and fuzzers are build products only.
include(GNUInstallDirs)

install(TARGETS moswit-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(MOSWIT_BUILD_GUI)
  install(TARGETS moswit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The documents keep the source tree's layout, so their links to
# docs/screenshots (README) and screenshots (the guide) still work. The
# folder is named after the package, not the project.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/moswit)
install(FILES README.md LICENSE DESTINATION ${docdir})
install(FILES docs/guide.md DESTINATION ${docdir}/docs)
install(DIRECTORY docs/screenshots DESTINATION ${docdir}/docs FILES_MATCHING PATTERN "*.png")

if(NOT UNIX)
  return()
endif()

# The manual pages, and the changelog a Debian package carries, gzipped
# without a name or time stamp (-n), so a build makes the same files again.
find_program(MOSWIT_GZIP gzip REQUIRED)
set(gzipped ${PROJECT_SOURCE_DIR}/docs/moswit-cli.1 ${PROJECT_SOURCE_DIR}/data/changelog)
if(MOSWIT_BUILD_GUI)
  list(APPEND gzipped ${PROJECT_SOURCE_DIR}/docs/moswit.1)
endif()
set(gzipped_outputs)
foreach(source IN LISTS gzipped)
  get_filename_component(name ${source} NAME)
  set(output ${PROJECT_BINARY_DIR}/gzipped/${name}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${PROJECT_BINARY_DIR}/gzipped/${name}
    COMMAND ${MOSWIT_GZIP} -9nf ${PROJECT_BINARY_DIR}/gzipped/${name}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND gzipped_outputs ${output})
endforeach()
add_custom_target(gzipped ALL DEPENDS ${gzipped_outputs})

install(FILES ${PROJECT_BINARY_DIR}/gzipped/moswit-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/copyright ${PROJECT_BINARY_DIR}/gzipped/changelog.gz DESTINATION ${docdir})

if(MOSWIT_BUILD_GUI)
  install(FILES ${PROJECT_BINARY_DIR}/gzipped/moswit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES data/moswit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/org.example.moswit.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size IN LISTS MOSWIT_ICON_SIZES)
    install(FILES data/icons/hicolor/${size}x${size}/apps/moswit.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES data/icons/moswit.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

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
