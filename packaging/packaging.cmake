# What a release holds. On Linux: a Debian package (CPack) with the game under
# /usr/lib/games/veldra, a launcher /usr/games/veldra that starts it in its level directory
# /usr/share/games/veldra, and the manual page veldra.6. On Windows: the executable, the two
# level files, a short README and the example settings file (veldra.example.toml), side by
# side in one folder of a zip file. The example settings file goes with the package's
# documents, /usr/share/doc/veldra/examples/veldra.toml.

set(VELDRA_LEVEL_FILES ${PROJECT_SOURCE_DIR}/levels/iaxismundi.txt ${PROJECT_SOURCE_DIR}/levels/otestinggrounds.txt)
set(VELDRA_VERSION ${PROJECT_VERSION})

set(CPACK_PACKAGE_NAME veldra)
set(CPACK_PACKAGE_VENDOR "The Veldra developers")

if(WIN32)
  configure_file(packaging/README-windows.txt ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS veldra RUNTIME DESTINATION .)
  install(FILES ${VELDRA_LEVEL_FILES} ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
  install(FILES packaging/veldra.toml DESTINATION . RENAME veldra.example.toml)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME veldra-${PROJECT_VERSION}-windows-x86_64)
  include(CPack)
  return()
endif()

configure_file(packaging/veldra.6 ${PROJECT_BINARY_DIR}/veldra.6 @ONLY)
find_program(VELDRA_GZIP gzip)
if(VELDRA_GZIP)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/veldra.6.gz
                     COMMAND ${VELDRA_GZIP} -9nf -k ${PROJECT_BINARY_DIR}/veldra.6
                     DEPENDS ${PROJECT_BINARY_DIR}/veldra.6)
  add_custom_target(veldra_manual ALL DEPENDS ${PROJECT_BINARY_DIR}/veldra.6.gz)
  set(VELDRA_MANUAL ${PROJECT_BINARY_DIR}/veldra.6.gz)
else()
  add_custom_target(veldra_manual ALL)
  set(VELDRA_MANUAL ${PROJECT_BINARY_DIR}/veldra.6)
endif()

install(TARGETS veldra RUNTIME DESTINATION lib/games/veldra)
install(PROGRAMS packaging/veldra-launcher.sh DESTINATION games RENAME veldra)
install(FILES ${VELDRA_LEVEL_FILES} DESTINATION share/games/veldra)
install(FILES ${VELDRA_MANUAL} DESTINATION share/man/man6)
install(FILES packaging/veldra.toml DESTINATION share/doc/veldra/examples)

set(CPACK_PACKAGE_CONTACT "The Veldra developers <veldra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person action game for the text console")
set(CPACK_PACKAGE_DESCRIPTION "A raycaster draws walls, sky, floor, sprites, particles, a minimap and a HUD
as coloured character cells; walk grid levels, fight with a staff and four
spells, collect scrolls and pickups, travel through portals.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time when present: sound, exact keys in X11 terminals, gamepads.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libasound2 | libasound2t64")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libx11-6, libsdl2-2.0-0")
include(CPack)
