# The wizard: Qt 6 Widgets on top of the core. Included by the top CMakeLists.txt
# when ZENTRO_GUI is on.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

set(ZENTRO_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(ZENTRO_ICON_FILE ${CMAKE_CURRENT_BINARY_DIR}/zentro.ico)
zentro_make_icon128(${ZENTRO_ICON_FILE})
configure_file(res/zentro.qrc.in ${CMAKE_CURRENT_BINARY_DIR}/zentro.qrc @ONLY)
qt_add_resources(ZENTRO_RESOURCE_SOURCES ${CMAKE_CURRENT_BINARY_DIR}/zentro.qrc)
# An object library, so that the resources' registration is linked in whole.
add_library(zentro_resources OBJECT ${ZENTRO_RESOURCE_SOURCES})
target_link_libraries(zentro_resources PRIVATE Qt6::Core)

file(GLOB ZENTRO_GUI_SOURCES CONFIGURE_DEPENDS platform/qt/*.cpp app/*.cpp pages/*.cpp)
list(REMOVE_ITEM ZENTRO_GUI_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
add_library(zentro_gui STATIC ${ZENTRO_GUI_SOURCES} ${ZENTRO_DATA_EXCHANGE_SOURCE})
target_link_libraries(zentro_gui PUBLIC zentro_core Qt6::Widgets)
# The wizard reads what the command line reads, where the decoders are built.
if(TARGET zentro_codecs)
  target_link_libraries(zentro_gui PUBLIC zentro_codecs)
  target_compile_definitions(zentro_gui PRIVATE ZENTRO_GUI_CODECS)
endif()
set_target_properties(zentro_gui PROPERTIES AUTOMOC ON)

# The pages and the application name no toolkit: their sources are compiled
# once more here without Qt's include folders (or any platform's), so a Qt or
# Windows header reached from them fails the build.
file(GLOB ZENTRO_TOOLKIT_FREE_SOURCES CONFIGURE_DEPENDS app/*.cpp pages/*.cpp)
add_library(zentro_toolkit_free_check OBJECT ${ZENTRO_TOOLKIT_FREE_SOURCES})
target_link_libraries(zentro_toolkit_free_check PRIVATE zentro_core)
target_compile_definitions(zentro_toolkit_free_check PRIVATE ZENTRO_VERSION="${PROJECT_VERSION}")
if(TARGET zentro_codecs)
  target_link_libraries(zentro_toolkit_free_check PRIVATE zentro_codecs)
  target_compile_definitions(zentro_toolkit_free_check PRIVATE ZENTRO_GUI_CODECS)
endif()

add_executable(zentro app/main.cpp)
target_link_libraries(zentro PRIVATE zentro_gui zentro_resources)
target_compile_definitions(zentro PRIVATE ZENTRO_VERSION="${PROJECT_VERSION}")
if(WIN32)
  zentro_add_windows_resources(zentro ${ZENTRO_ICON_FILE})
  set_target_properties(zentro PROPERTIES WIN32_EXECUTABLE ON)
endif()
install(TARGETS zentro RUNTIME DESTINATION bin)

# Renders every page headless for tools/screenshots.sh.
if(NOT ZENTRO_FOR_TESTS_ONLY)
  add_executable(zentro_screenshot_tour tools/screenshot_tour.cpp)
  target_link_libraries(zentro_screenshot_tour PRIVATE zentro_gui zentro_resources)
endif()
