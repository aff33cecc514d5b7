# Desktop integration and the Debian package: the launcher entry, the icon in
# the hicolor theme (the SVG and PNGs rendered from it at build time), the
# file types of the packs, the AppStream metainfo, the manual pages, and the
# CPack settings for `cpack -G DEB`.
# The editor and plodpak register their own install rules.

set(PLODDERZ_APP_ID plodderz-editor)
set(PLODDERZ_ICON_SVG ${PROJECT_SOURCE_DIR}/src/resources/icon.svg)
set(PLODDERZ_ICON_SIZES 16 22 24 32 48 64 128 256)
set(PLODDERZ_ICON_DIR ${PROJECT_BINARY_DIR}/packaging/icons)

# A tiny Qt program draws the SVG at each size; no SVG converter is needed
# on the build machine. Leak checking is off for it under the sanitizers: it
# runs during the build, and the font and platform libraries it loads keep
# caches alive until exit.
add_executable(plodderz-render-icon ${CMAKE_CURRENT_LIST_DIR}/render-icon.cpp)
target_link_libraries(plodderz-render-icon PRIVATE Qt6::Gui Qt6::Svg)

set(_plodderz_icon_pngs)
foreach(size IN LISTS PLODDERZ_ICON_SIZES)
  list(APPEND _plodderz_icon_pngs ${PLODDERZ_ICON_DIR}/${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${_plodderz_icon_pngs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PLODDERZ_ICON_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:plodderz-render-icon> ${PLODDERZ_ICON_SVG} ${PLODDERZ_ICON_DIR}
          ${PLODDERZ_ICON_SIZES}
  DEPENDS plodderz-render-icon ${PLODDERZ_ICON_SVG}
  COMMENT "Rendering the application icon to PNG"
  VERBATIM)
add_custom_target(plodderz-icons ALL DEPENDS ${_plodderz_icon_pngs})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/plodderz-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/plodderz-editor.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PLODDERZ_ICON_SVG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${PLODDERZ_APP_ID}.svg)
foreach(size IN LISTS PLODDERZ_ICON_SIZES)
  install(FILES ${PLODDERZ_ICON_DIR}/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${PLODDERZ_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/invalid.example.PlodderzEditor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/man/plodderz-editor.1
              ${CMAKE_CURRENT_LIST_DIR}/man/plodpak.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/plodpak.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PLODDERZ_APP_ID})

# A plain `cmake --install` onto this machine also refreshes the file type
# database, so that .83p and .8xp files are named at once. Installs into a
# staging root (DESTDIR, as cpack does) leave that to the package manager:
# Debian's shared-mime-info does it from a trigger.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    find_program(_plodderz_update_mime update-mime-database)
    if(_plodderz_update_mime)
      execute_process(COMMAND \${_plodderz_update_mime}
                      \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/mime\")
    endif()
  endif()")

# ---- Debian package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PLODDERZ_APP_ID})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Plodderz Level File Maker developers")
set(CPACK_PACKAGE_CONTACT "Plodderz Level File Maker developers <plodderz-editor@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "level editor for the Plodderz game on TI-83 calculators")
set(CPACK_PACKAGE_DESCRIPTION
    "Draws the levels of a Plodderz level pack (terrain, entrance, exit,\n\
metal blocks, population and skills) and saves the pack as one TI-83\n\
program file (.83p) to send to the calculator. Includes plodpak, a\n\
command-line tool for packs.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link (Qt 6, the C++ runtime) come from
# dpkg-shlibdeps; the X11/Wayland platform plugins are loaded at run time, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "tilp2")
include(CPack)
