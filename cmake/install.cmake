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
foreach(document changelog ${KORVEL_PACKAGE_NAME}.1)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KORVEL_PACKAGING_DIR}/${document})
  execute_process(COMMAND gzip -9nc ${KORVEL_PACKAGING_DIR}/${document}
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/${document}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()

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
  "every drawing as a bitmap.")
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
