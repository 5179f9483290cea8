# Installation and the Debian package: the program, the files it reads (its default
# skin), a desktop entry, icons, AppStream metainfo and the manual page.
#   cmake --install build [--prefix /usr]
#   cd build && cpack -G DEB        quenvale_<version>_<arch>.deb
include(GNUInstallDirs)

set(QUENVALE_RESOURCES ${PROJECT_SOURCE_DIR}/resources)

# The program looks for the files it ships beside itself and then in
# ../share/quenvale relative to its own folder (shell::ProgramFile), so these two
# folders are fixed whatever the GNU install directories say.
install(TARGETS quenvale RUNTIME DESTINATION bin)
install(FILES ${QUENVALE_RESOURCES}/x/o.cjs DESTINATION share/quenvale/x)

# Icons: every hicolor size rendered from the one drawing, which is installed too.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_drawing ${QUENVALE_RESOURCES}/icons/quenvale.svg)
set(icon_files)
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  set(icon_dir ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  add_custom_command(OUTPUT ${icon_dir}/quenvale.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${icon_dir}/quenvale.png ${icon_drawing}
    DEPENDS ${icon_drawing}
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND icon_files ${icon_dir}/quenvale.png)
  install(FILES ${icon_dir}/quenvale.png DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icon_drawing} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)

# The manual page, with the project's version filled in, compressed as Debian keeps them.
configure_file(${PROJECT_SOURCE_DIR}/docs/quenvale.1.in ${CMAKE_BINARY_DIR}/man/quenvale.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/quenvale.1.gz
  COMMAND gzip -9 -n -k -f ${CMAKE_BINARY_DIR}/man/quenvale.1
  DEPENDS ${CMAKE_BINARY_DIR}/man/quenvale.1
  VERBATIM)
install(FILES ${CMAKE_BINARY_DIR}/man/quenvale.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

add_custom_target(quenvale_install_files ALL DEPENDS ${icon_files} ${CMAKE_BINARY_DIR}/man/quenvale.1.gz)

# The desktop entry, and the AppStream metainfo with the project's version.
configure_file(${QUENVALE_RESOURCES}/desktop/${QUENVALE_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${QUENVALE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${QUENVALE_RESOURCES}/desktop/${QUENVALE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${QUENVALE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The Debian package. dpkg-shlibdeps names the packages of the linked libraries;
# the packages no library brings in are listed in resources/debian-runtime-packages.
file(STRINGS ${QUENVALE_RESOURCES}/debian-runtime-packages runtime_packages REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUENVALE_RESOURCES}/debian-runtime-packages)
list(JOIN runtime_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quenvale developers")
set(CPACK_PACKAGE_CONTACT "Quenvale developers <quenvale@quenvale.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sales-commission workbooks from a list of salespeople")
set(CPACK_PACKAGE_DESCRIPTION
    "Quenvale turns a list of salespeople and a commission percentage into a
formatted sales-commission worksheet with live formulas, saves it as an Excel
97-2003 workbook (.xls) and shows a preview of the sheet. It carries its own
spreadsheet engine: no spreadsheet application is needed. A command line writes
the same workbook, as .xls or .xlsx, without opening a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quenvale.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
