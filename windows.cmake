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
