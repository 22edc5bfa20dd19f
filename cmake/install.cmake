# Installs the program as a Linux desktop program (menu entry, icon, AppStream
# metadata, documents) and builds its Debian package with `cpack -G DEB`.
include(GNUInstallDirs)

set(KORVEL_PACKAGE_NAME korvel-cam-designer)
set(KORVEL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/${KORVEL_PACKAGE_NAME})
set(KORVEL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(KORVEL_INSTALL_MARKER ${KORVEL_PACKAGING_DIR}/installed)

# The installed program knows itself by the marker beside its bin/ folder and
# then keeps the user's files out of the program folder.
get_filename_component(marker_name ${KORVEL_INSTALL_MARKER} NAME)
file(RELATIVE_PATH marker_from_bin /${CMAKE_INSTALL_BINDIR} /${KORVEL_SHARE_DIR}/${marker_name})
target_compile_definitions(korvel PUBLIC KORVEL_INSTALL_MARKER_FROM_BIN="${marker_from_bin}")

install(TARGETS korvel-cam-designer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KORVEL_INSTALL_MARKER} DESTINATION ${KORVEL_SHARE_DIR})
