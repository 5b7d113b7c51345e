# Installing and packaging: `cmake --install build --prefix P` lays out the game the way Debian places games,
# and `cpack -G DEB` (run in the build folder) wraps the same layout into a .deb.
#
#   P/games/pelvoro                                        the game
#   P/share/games/pelvoro/data.bin                         its data archive
#   P/share/applications/io.github.pelvoro.Pelvoro.desktop the desktop entry
#   P/share/icons/hicolor/{64x64,256x256}/apps/...png      the icon
#   P/share/metainfo/io.github.pelvoro.Pelvoro.metainfo.xml AppStream metainfo
#   P/share/man/man6/pelvoro.6.gz                          the man page
#
# The game finds its data.bin from where its executable lies (the relative path below is compiled in), so the
# installed tree may be moved to any prefix.

set(PELVORO_APP_ID io.github.pelvoro.Pelvoro)
set(PELVORO_INSTALL_BINDIR games)
set(PELVORO_INSTALL_DATADIR share/games/pelvoro)
file(RELATIVE_PATH PELVORO_DATA_FROM_BIN /${PELVORO_INSTALL_BINDIR} /${PELVORO_INSTALL_DATADIR})
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/media/paths.cpp PROPERTIES
  COMPILE_DEFINITIONS PELVORO_INSTALL_DATA_FROM_BIN="${PELVORO_DATA_FROM_BIN}")

install(TARGETS pelvoro RUNTIME DESTINATION ${PELVORO_INSTALL_BINDIR})
if(TARGET data)
  install(FILES ${CMAKE_BINARY_DIR}/data.bin DESTINATION ${PELVORO_INSTALL_DATADIR})
endif()
set(PELVORO_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${PELVORO_PACKAGING}/${PELVORO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${PELVORO_PACKAGING}/${PELVORO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/texture/icon.png DESTINATION share/icons/hicolor/64x64/apps
        RENAME ${PELVORO_APP_ID}.png)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icon256.png DESTINATION share/icons/hicolor/256x256/apps
        RENAME ${PELVORO_APP_ID}.png)

# Man pages are installed compressed, as Debian's policy asks.
find_program(GZIP_PROGRAM gzip)
if(GZIP_PROGRAM)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/pelvoro.6.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${PELVORO_PACKAGING}/pelvoro.6 > ${CMAKE_BINARY_DIR}/pelvoro.6.gz
    DEPENDS ${PELVORO_PACKAGING}/pelvoro.6
    VERBATIM)
  add_custom_target(manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/pelvoro.6.gz)
  install(FILES ${CMAKE_BINARY_DIR}/pelvoro.6.gz DESTINATION share/man/man6)
else()
  install(FILES ${PELVORO_PACKAGING}/pelvoro.6 DESTINATION share/man/man6)
endif()

# The .deb: its dependencies come from the shared libraries the game links (dpkg-shlibdeps), plus the font
# the game looks for.
set(CPACK_PACKAGE_NAME pelvoro)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR "Pelvoro!! developers")
set(CPACK_PACKAGE_CONTACT "Pelvoro!! developers <pelvoro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trap platformer with thirty stages and a stage editor")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "trap platformer with thirty stages and a stage editor\n A girl has to get through thirty stages full of hidden traps: spikes that wait\n until an invisible trigger is touched, roving and bouncing spikes, breaking\n blocks, ice, keys and locks. A stage editor draws stages of your own.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zenity")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
