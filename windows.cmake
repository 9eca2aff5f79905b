# The Windows build: zentro-cli.exe with its resources compiled in, packed as
# a ZIP (`cpack -G ZIP` in the build folder), and the Windows suite's helper.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zentro)
# All four parts: CPack would drop the tweak number.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvan")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Stands in for another program that holds an icon open.
add_executable(hold_file EXCLUDE_FROM_ALL tests/windows/hold_file.cpp)
target_link_options(hold_file PRIVATE -municode)
add_executable(crash_on_purpose EXCLUDE_FROM_ALL tests/windows/crash_on_purpose.cpp)
target_link_libraries(crash_on_purpose PRIVATE zentro_core)

# Beside the .exe: the README's Windows section and the licences of the picture
# libraries linked into it, as each licence asks.
file(READ ${CMAKE_SOURCE_DIR}/README.md readme)
# The section runs from its heading to the next heading below the title (## or deeper).
string(REGEX MATCH "\n### Windows\n.*" windows_section "${readme}")
string(REGEX REPLACE "^\n### Windows\n" "" windows_rest "${windows_section}")
string(REGEX REPLACE "\n##+ [^\n]*\n.*" "\n" windows_rest "${windows_rest}")
file(WRITE ${CMAKE_BINARY_DIR}/README-Windows.txt "# Zentro on Windows\n${windows_rest}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
install(FILES ${CMAKE_BINARY_DIR}/README-Windows.txt DESTINATION .)
if(ZENTRO_WINDOWS_LIBS AND TARGET zentro_codecs)
  install(DIRECTORY ${ZENTRO_WINDOWS_LIBS}/licences/ DESTINATION licences)
  # Which of Debian's source packages they were built from.
  install(FILES ${ZENTRO_WINDOWS_LIBS}/revisions DESTINATION licences RENAME debian-sources.txt)
endif()

# The wizard on the system's own controls: the pages and the application over
# the platform layer's Windows half, with the help topics built in.
file(GLOB ZENTRO_WIN32_GUI_SOURCES CONFIGURE_DEPENDS app/*.cpp pages/*.cpp platform/win32/*.cpp)
add_executable(zentro WIN32 ${ZENTRO_WIN32_GUI_SOURCES} ${ZENTRO_DATA_EXCHANGE_SOURCE} res/windows/help.rc)
target_link_libraries(zentro PRIVATE zentro_core comctl32 comdlg32 shell32 ole32 gdi32 uuid)
target_compile_definitions(zentro PRIVATE ZENTRO_VERSION="${PROJECT_VERSION}" UNICODE _UNICODE)
if(TARGET zentro_codecs)
  target_link_libraries(zentro PRIVATE zentro_codecs)
  target_compile_definitions(zentro PRIVATE ZENTRO_GUI_CODECS)
endif()
target_include_directories(zentro PRIVATE ${CMAKE_SOURCE_DIR}/res/help)
set_source_files_properties(res/windows/help.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/help/Input.html;${CMAKE_SOURCE_DIR}/res/help/Format.html;${CMAKE_SOURCE_DIR}/res/help/Sizes.html;${CMAKE_SOURCE_DIR}/res/help/Preview.html;${CMAKE_SOURCE_DIR}/res/help/Output.html")
zentro_make_icon128(${CMAKE_CURRENT_BINARY_DIR}/zentro.ico)
zentro_add_windows_resources(zentro ${CMAKE_CURRENT_BINARY_DIR}/zentro.ico)
install(TARGETS zentro RUNTIME DESTINATION bin)
