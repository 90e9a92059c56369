# Installation and the Debian package.
#   cmake --install build --prefix DIR   installs, under DIR:
#     games/tolvane-golf                    the launcher (runs the game in a per-user folder)
#     lib/games/tolvane-golf/tolvane-golf   the executable
#     share/games/tolvane-golf/data/        the generated art, font and sounds
#     share/applications/, share/icons/hicolor/NxN/apps/, share/man/man6/, share/doc/tolvane-golf/
#   make package                         builds build/package/tolvane-golf_VERSION_ARCH.deb with CPack
# Every path is relative to the prefix, and the launcher finds the executable and the data relative to
# itself, so an installation works wherever it is unpacked.
set(ZK_VERSION 1.0.0)
set(ZK_INSTALL_LAUNCHER_DIR games)
set(ZK_INSTALL_EXE_DIR lib/games/tolvane-golf)
set(ZK_INSTALL_DATA_DIR share/games/tolvane-golf)
set(ZK_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# The launcher, with its paths to the executable and the data written in relative to its own folder.
file(RELATIVE_PATH ZK_LAUNCHER_TO_EXE /p/${ZK_INSTALL_LAUNCHER_DIR} /p/${ZK_INSTALL_EXE_DIR}/tolvane-golf)
file(RELATIVE_PATH ZK_LAUNCHER_TO_DATA /p/${ZK_INSTALL_LAUNCHER_DIR} /p/${ZK_INSTALL_DATA_DIR}/data)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tolvane-golf.sh.in ${ZK_PACKAGING_OUT}/tolvane-golf @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tolvane-golf.6 ${ZK_PACKAGING_OUT}/tolvane-golf.6 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${ZK_PACKAGING_OUT}/changelog @ONLY)

# The man page and the changelog go in gzipped without a time stamp, as Debian wants them.
find_program(ZK_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${ZK_PACKAGING_OUT}/tolvane-golf.6.gz ${ZK_PACKAGING_OUT}/changelog.gz
  COMMAND ${ZK_GZIP} -9nkf ${ZK_PACKAGING_OUT}/tolvane-golf.6 ${ZK_PACKAGING_OUT}/changelog
  DEPENDS ${ZK_PACKAGING_OUT}/tolvane-golf.6 ${ZK_PACKAGING_OUT}/changelog
  VERBATIM)
add_custom_target(zk_packaging_files ALL DEPENDS ${ZK_PACKAGING_OUT}/tolvane-golf.6.gz)

install(TARGETS tolvane-golf RUNTIME DESTINATION ${ZK_INSTALL_EXE_DIR})
install(PROGRAMS ${ZK_PACKAGING_OUT}/tolvane-golf DESTINATION ${ZK_INSTALL_LAUNCHER_DIR})
install(DIRECTORY ${ZK_DATA_DIR} DESTINATION ${ZK_INSTALL_DATA_DIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tolvane-golf.desktop DESTINATION share/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${ZK_ICON_DIR}/${size}x${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME tolvane-golf.png)
endforeach()
install(FILES ${ZK_PACKAGING_OUT}/tolvane-golf.6.gz DESTINATION share/man/man6)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${ZK_PACKAGING_OUT}/changelog.gz
        DESTINATION share/doc/tolvane-golf)

# The Debian package. Its library dependencies come from dpkg-shlibdeps on the executable.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE ZK_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane-golf)
set(CPACK_PACKAGE_VERSION ${ZK_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small arcade golf game with monsters")
set(CPACK_PACKAGE_DESCRIPTION "Grubnik in Tolvane Golf: a golfer tees off over water; monsters rise out
of it; balls and tee pegs bounce off their heads for ever-growing scores in
30, 20 or 10 second games. Keyboard, mouse, up to four gamepads or an iCade
controller. Each game type keeps its best ten and last ten scores.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tolvane Golf developers <tolvane-golf@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ZK_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME tolvane-golf_${ZK_VERSION}_${ZK_DEB_ARCH}.deb)
set(ZK_DEB_PATH ${CPACK_PACKAGE_DIRECTORY}/${CPACK_DEBIAN_FILE_NAME})
# CPack would otherwise build the whole tree before installing (and the package test depends on the package).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
include(CPack)

# zk_deb builds the package from the game and its data alone, without building the rest of the tree
# (CPack's own "package" target would build everything first).
add_custom_command(
  OUTPUT ${ZK_DEB_PATH}
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS tolvane-golf zk_data zk_packaging_files ${ZK_ICON_DIR}/256x256.png ${ZK_PACKAGING_OUT}/tolvane-golf
          ${CMAKE_CURRENT_LIST_DIR}/tolvane-golf.desktop ${CMAKE_CURRENT_LIST_DIR}/copyright
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Building the Debian package ${CPACK_DEBIAN_FILE_NAME}"
  VERBATIM)
add_custom_target(zk_deb DEPENDS ${ZK_DEB_PATH})
