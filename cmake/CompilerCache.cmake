# Compiles through ccache when it is installed, so that building the same
# sources again (another clone, another build folder, `./test` run twice)
# takes the objects from the cache instead of compiling them anew. Paths
# inside the source tree are hashed relative to it and the working folder is
# left out of the hash, so clones in different folders share one cache.
option(VANTOREL_CCACHE "Compile through ccache when it is installed" ON)

if(VANTOREL_CCACHE)
    find_program(VANTOREL_CCACHE_PROGRAM ccache)
    if(VANTOREL_CCACHE_PROGRAM)
        set(launcher
            "${CMAKE_COMMAND}" -E env "CCACHE_BASEDIR=${CMAKE_SOURCE_DIR}" "CCACHE_NOHASHDIR=true"
            "${VANTOREL_CCACHE_PROGRAM}")
        set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
        set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
        message(STATUS "Compiler cache: ${VANTOREL_CCACHE_PROGRAM}")
    endif()
endif()
