# Installs the program as a Linux desktop program (menu entry, icon, AppStream
# metadata, documents) and builds its Debian package with `cpack -G DEB`.
include(GNUInstallDirs)

set(KORVEL_PACKAGE_NAME korvel-cam-designer)
set(KORVEL_APP_ID example.orlan.KorvelCamDesigner)
set(KORVEL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/${KORVEL_PACKAGE_NAME})
set(KORVEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${KORVEL_PACKAGE_NAME})
set(KORVEL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(KORVEL_INSTALL_MARKER ${KORVEL_PACKAGING_DIR}/installed)

# The installed program knows itself by the marker beside its bin/ folder and
# then keeps the user's files out of the program folder.
get_filename_component(marker_name ${KORVEL_INSTALL_MARKER} NAME)
file(RELATIVE_PATH marker_from_bin /${CMAKE_INSTALL_BINDIR} /${KORVEL_SHARE_DIR}/${marker_name})
target_compile_definitions(korvel_settings PUBLIC KORVEL_INSTALL_MARKER_FROM_BIN="${marker_from_bin}")

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

configure_file(${KORVEL_PACKAGING_DIR}/${KORVEL_APP_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/${KORVEL_APP_ID}.metainfo.xml @ONLY)
# Debian wants the changelog and the manual page compressed at the highest
# level, without a time stamp.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KORVEL_PACKAGING_DIR}/changelog)
execute_process(COMMAND gzip -9nc ${KORVEL_PACKAGING_DIR}/changelog
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)

# The manual page is made from the program's own --help and --version, so the
# two cannot drift; the include file adds what --help does not hold. help2man
# knows only a few headings as sections, so the exit statuses, a subsection
# of the options as it reads them, are raised to a section of their own. The
# program answers --help without a display; a sanitizer build's leak report
# at exit must not fail the page.
find_program(KORVEL_HELP2MAN help2man REQUIRED)
set(KORVEL_MAN_PAGE ${CMAKE_BINARY_DIR}/packaging/${KORVEL_PACKAGE_NAME}.1)
set(KORVEL_MAN_INCLUDE ${KORVEL_PACKAGING_DIR}/${KORVEL_PACKAGE_NAME}.h2m)
add_custom_command(OUTPUT ${KORVEL_MAN_PAGE} ${KORVEL_MAN_PAGE}.gz
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          ${KORVEL_HELP2MAN} --no-info --name "design rangefinder cams for the Korvel press camera"
          --include ${KORVEL_MAN_INCLUDE} --output ${KORVEL_MAN_PAGE} $<TARGET_FILE:korvel-cam-designer>
  COMMAND sed -i "s/^\\.SS \"Exit status:\"$/.SH \"EXIT STATUS\"/" ${KORVEL_MAN_PAGE}
  COMMAND gzip -9nkf ${KORVEL_MAN_PAGE}
  DEPENDS korvel-cam-designer ${KORVEL_MAN_INCLUDE}
  COMMENT "Making the manual page from the program's --help" VERBATIM)
add_custom_target(korvel_man_page ALL DEPENDS ${KORVEL_MAN_PAGE}.gz)

install(TARGETS korvel-cam-designer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KORVEL_INSTALL_MARKER} DESTINATION ${KORVEL_SHARE_DIR})
install(FILES ${KORVEL_PACKAGING_DIR}/${KORVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KORVEL_PACKAGING_DIR}/${KORVEL_PACKAGE_NAME}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KORVEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KORVEL_PACKAGE_NAME}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md LICENSE ${KORVEL_PACKAGING_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${KORVEL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KORVEL_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Korvel Cam Designer authors <korvel@orlan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rangefinder cam designer for the Korvel press camera")
set(CPACK_PACKAGE_DESCRIPTION
  "Draws the rangefinder cam for a lens of the Korvel large-format press camera\n"
  "from the lens's focal length, at true size: working edge, body, holes,\n"
  "optional distance markers and a caption. Prints cams with printer correction\n"
  "factors from a built-in calibration, lays out sheets of nine cams and saves\n"
  "every drawing as a bitmap. Exports cams and sheets for cutting on a laser,\n"
  "water-jet or mill as DXF, SVG or PDF at true size, and the profile as a CSV\n"
  "table, from the window or from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The drawings need a metric-compatible Arial, and reading TIFF scans Qt's
# image format plugins; shlibdeps adds the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-image-formats-plugins")
include(CPack)
