# The installed layout (the file-system hierarchy of a Linux desktop application) and the Debian
# package made from it with `cpack -G DEB`.

set(TOLVEX_RELEASE_DATE 2026-12-06)
set(CPACK_PACKAGE_NAME tolvex)
set(CPACK_PACKAGE_CONTACT "The Tolvex developers <support@tolvex.app>")
set(desktop_files ${CMAKE_BINARY_DIR}/desktop)

install(TARGETS tolvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tolx tolx-dm RUNTIME DESTINATION ${TOLVEX_HELPER_INSTALL_DIR})

install(FILES resources/${TOLVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Dolphin reads its context-menu actions from here.
install(FILES resources/${TOLVEX_APP_ID}-erase.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus)

configure_file(resources/${TOLVEX_APP_ID}.metainfo.xml.in
  ${desktop_files}/${TOLVEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${desktop_files}/${TOLVEX_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon as drawn, and rendered at the sizes menus and panels ask for.
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES resources/tolvex.svg DESTINATION ${icons}/scalable/apps RENAME ${TOLVEX_APP_ID}.svg)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(generated)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${desktop_files}/${size}x${size}/${TOLVEX_APP_ID}.png)
  # Make, unlike Ninja, leaves an output's folder to the command.
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${desktop_files}/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size}
            --output ${png} ${PROJECT_SOURCE_DIR}/resources/tolvex.svg
    DEPENDS resources/tolvex.svg VERBATIM)
  install(FILES ${png} DESTINATION ${icons}/${size}x${size}/apps)
  list(APPEND generated ${png})
endforeach()

# Manual pages and the package's change log, stamped with the version and compressed the way
# Debian keeps them.
execute_process(COMMAND date --utc --rfc-email --date ${TOLVEX_RELEASE_DATE}
  OUTPUT_VARIABLE TOLVEX_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
foreach(page resources/tolvex.1 resources/tolx.1 cmake/debian/changelog)
  get_filename_component(name ${page} NAME)
  configure_file(${page}.in ${desktop_files}/${name} @ONLY)
  add_custom_command(OUTPUT ${desktop_files}/${name}.gz
    COMMAND gzip --best --no-name --keep --force ${desktop_files}/${name}
    DEPENDS ${desktop_files}/${name} VERBATIM)
  list(APPEND generated ${desktop_files}/${name}.gz)
endforeach()
install(FILES ${desktop_files}/tolvex.1.gz ${desktop_files}/tolx.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop_files}/changelog.gz cmake/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
add_custom_target(tolvex_desktop_files ALL DEPENDS ${generated})

set(CPACK_PACKAGE_VENDOR "The Tolvex developers")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tolvex.app/)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[destroy files and folders beyond recovery
Tolvex overwrites files with one, seven or thirty-five passes, then renames
and removes them, so that their contents cannot be read back from the disk.
Files and folders are dropped on one of three shred lists, or sent from the
file manager through its Open With menu or the Erase with Tolvex action.
.
Tolvex also shreds the Trash of every mounted volume, and clears the
history, caches and cookies of Google Chrome, Firefox, Opera, Vivaldi and
Brave.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no linked library pulls in: the interface's typeface, the Qt plugins that draw the SVG
# artwork, and the one that shows the window on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-roboto-unhinted, libqt6svg6, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
