# Desktop install and the Debian package: the program, its private library,
# the sqlite3 shell extension, the menu launcher and the icon, in the places
# a Linux desktop looks for them.
#   cmake --install build [--prefix DIR]      cpack -G DEB --config build/CPackConfig.cmake
include(GNUInstallDirs)

# The library is the program's own: kept out of the shared library folder, and
# found from the program wherever the tree is installed or unpacked.
set(HK_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/hearthkeep)
set_target_properties(hearthkeep PROPERTIES INSTALL_RPATH "$ORIGIN/../${HK_PRIVATE_LIBDIR}")
install(TARGETS hearthkeep RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS hkprints LIBRARY DESTINATION ${HK_PRIVATE_LIBDIR} NAMELINK_SKIP)
# The extension that lets the stock sqlite3 shell check a data file:
#   sqlite3 Hearthkp.Tps '.load <libdir>/hearthkeep/hksqlite' 'PRAGMA integrity_check'
install(TARGETS hksqlite LIBRARY DESTINATION ${HK_PRIVATE_LIBDIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/resources/desktop/hearthkeep-launch
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/hearthkeep.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon: the SVG as the scalable one, bitmaps rendered from it at build time.
set(HK_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icons/Hearthkp.svg)
set(HK_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${HK_ICON_SVG} DESTINATION ${HK_ICON_DIR}/scalable/apps RENAME hearthkeep.svg)
add_executable(hk_icon_png ${PROJECT_SOURCE_DIR}/src/app/iconpng.cpp)
target_link_libraries(hk_icon_png PRIVATE Qt6::Gui Qt6::Svg)
set(HK_ICON_PNGS)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}/hearthkeep.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
    COMMAND hk_icon_png ${HK_ICON_SVG} ${png} ${size}
    DEPENDS hk_icon_png ${HK_ICON_SVG}
    COMMENT "Rendering the ${size} px icon")
  install(FILES ${png} DESTINATION ${HK_ICON_DIR}/${size}x${size}/apps)
  list(APPEND HK_ICON_PNGS ${png})
endforeach()
add_custom_target(hk_icons ALL DEPENDS ${HK_ICON_PNGS})

set(CPACK_PACKAGE_NAME hearthkeep)
set(CPACK_PACKAGE_VENDOR "Hearthkeep")
set(CPACK_PACKAGE_CONTACT "Hearthkeep developers <hearthkeep@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Household inventory: items, books, software, video, music, magazines")
set(CPACK_PACKAGE_DESCRIPTION "Keeps an inventory of a household's possessions by room \
and of its collections, with lists, forms and printed reports, in one SQLite data file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Library dependencies found by dpkg-shlibdeps; the report font and the SVG
# plugins that draw the icons are loaded at run time, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/src)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6svg6, qt6-image-formats-plugins")
include(CPack)
