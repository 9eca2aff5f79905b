# Compiles through ccache when it is installed. The cache lives in the user's
# cache folder, so that every build folder, every clone (CI's fresh one
# included) and the Windows cross-build reuse what another compiled. Paths are
# made relative to the source tree and the build folder is left out of the
# hash, so that clones at other paths share it.
option(ZENTRO_CCACHE "Compile through ccache when it is installed" ON)
find_program(ZENTRO_CCACHE_PROGRAM ccache)
if(ZENTRO_CCACHE AND ZENTRO_CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_CURRENT_LIST_DIR} CCACHE_NOHASHDIR=true ${ZENTRO_CCACHE_PROGRAM})
endif()
