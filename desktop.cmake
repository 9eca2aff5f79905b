# At home on a Linux desktop: what `cmake --install` puts beside the two
# programs (help pages, launcher, AppStream metainfo, theme icons, manual
# pages), and the Debian package made of it all (`cpack -G DEB`).
# Included by the top CMakeLists.txt after gui.cmake.
include(GNUInstallDirs)
set(ZENTRO_APP_ID com.quorvan.zentro)

# The program shows its built-in copy of the help pages; these are for reading
# without it.
set(ZENTRO_HELP_DIR ${CMAKE_INSTALL_FULL_DATADIR}/zentro/help)
file(GLOB ZENTRO_HELP_PAGES CONFIGURE_DEPENDS res/help/*.html)
install(FILES ${ZENTRO_HELP_PAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/zentro/help)

install(FILES res/desktop/${ZENTRO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES res/desktop/${ZENTRO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(page zentro zentro-cli)
  configure_file(res/man/${page}.1.in ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1 @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The theme's icons are drawn from the same picture as icon 128, as PNG files.
add_executable(make_hicolor_icon tools/hicolor/make_hicolor_icon.cpp tools/hicolor/png_writer.cpp)
target_link_libraries(make_hicolor_icon PRIVATE zentro_core)
set(ZENTRO_HICOLOR_ICONS)
foreach(size 16 32 48 256)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/hicolor/${size}x${size}/apps)
  add_custom_command(
    OUTPUT ${folder}/zentro.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND make_hicolor_icon ${ZENTRO_ICON_BITMAP} ${size} ${folder}/zentro.png
    DEPENDS make_hicolor_icon ${ZENTRO_ICON_BITMAP}
    COMMENT "Drawing the ${size}x${size} theme icon"
    VERBATIM)
  list(APPEND ZENTRO_HICOLOR_ICONS ${folder}/zentro.png)
  install(FILES ${folder}/zentro.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(zentro_hicolor_icons ALL DEPENDS ${ZENTRO_HICOLOR_ICONS})

# The Debian package: everything above, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentro)
# All four parts: CPack would drop the tweak number.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvan")
set(CPACK_PACKAGE_CONTACT "Zentro developers <zentro@quorvan.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bitmap to Windows icon converter")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Turns one BMP picture into one Windows icon file (.ico) with up to twenty\n"
  "renditions: 256, 48, 32, 24 and 16 pixels in 32-bit with alpha, 24-bit,\n"
  "8-bit and 4-bit colour, with colour-key transparency. A wizard (zentro)\n"
  "and a command line (zentro-cli), which also reads PNG, JPEG, WebP, GIF,\n"
  "every BMP variant and icons, and carries their alpha into the icon.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the programs link (Qt 6, the C++ runtime) become dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The command line's decoders and compressor, named outright: a library linked only as needed
# would otherwise drop out of the list with the first build that leaves it unused.
if(ZENTRO_CODECS)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libpng16-16, libjpeg62-turbo, libwebp7, libwebpdemux2, libgif7, libdeflate0")
  if(ZENTRO_SVG)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", librsvg2-2, libcairo2")
  endif()
endif()
include(CPack)
