# Icon 128 is made from our own bitmap by our own converter. A Windows build
# compiles the icon into zentro-cli itself, which therefore cannot make it:
# there a zentro-cli built for the build machine does (tools/cross-build-windows.sh).
set(ZENTRO_ICON_BITMAP ${CMAKE_CURRENT_LIST_DIR}/icon/zentro.bmp)
set(ZENTRO_WINDOWS_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/windows)
if(WIN32)
  enable_language(RC)
  set(ZENTRO_HOST_CLI "" CACHE FILEPATH "zentro-cli built for the build machine, to make icon 128")
  if(NOT ZENTRO_HOST_CLI)
    message(FATAL_ERROR "A Windows build makes icon 128 with a zentro-cli of the build machine: "
                        "pass -DZENTRO_HOST_CLI=/path/to/zentro-cli")
  endif()
  set(ZENTRO_ICON_MAKER ${ZENTRO_HOST_CLI})
else()
  set(ZENTRO_ICON_MAKER zentro-cli)
endif()

# Makes icon 128 as `icon`: 48, 32 and 16 pixels at 8 bits, opaque.
function(zentro_make_icon128 icon)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${ZENTRO_ICON_MAKER} --depths 8 --sizes 48,32,16 --opaque -f -o ${icon} ${ZENTRO_ICON_BITMAP}
    DEPENDS ${ZENTRO_ICON_MAKER} ${ZENTRO_ICON_BITMAP}
    COMMENT "Making icon 128 with zentro-cli"
    VERBATIM)
endfunction()

# Compiles icon 128 (made by zentro_make_icon128 as `icon`), the version and
# the manifest into the Windows program `target`.
function(zentro_add_windows_resources target icon)
  set(script ${ZENTRO_WINDOWS_RESOURCES}/zentro.rc)
  target_sources(${target} PRIVATE ${script})
  # The script names its files without a folder; the resource compiler finds
  # them on the include path.
  cmake_path(GET icon PARENT_PATH iconFolder)
  target_include_directories(${target} PRIVATE ${iconFolder} ${ZENTRO_WINDOWS_RESOURCES})
  set_source_files_properties(${script} PROPERTIES
    OBJECT_DEPENDS "${icon};${ZENTRO_WINDOWS_RESOURCES}/zentro.exe.manifest")
endfunction()
