# GoogleTest for a cross build: find_package(GTest) would find the build
# machine's Linux libraries, so GoogleTest is built for the target from
# Debian's source package, and every find_package(GTest) in the tree is
# pointed at that build through a small package configuration file.
if(NOT CMAKE_CROSSCOMPILING OR NOT BUILD_TESTING)
    return()
endif()

set(VANTOREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${VANTOREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# GoogleTest's own build already defines GTest::gtest, GTest::gtest_main
# and GTest::gmock: the package file has nothing more to say.
set(_vantorel_gtest_config ${CMAKE_BINARY_DIR}/gtest-for-target)
file(WRITE ${_vantorel_gtest_config}/GTestConfig.cmake
    "# GoogleTest built for the target in this tree (cmake/GoogleTestForTarget.cmake).\n")
set(GTest_DIR ${_vantorel_gtest_config} CACHE PATH "GoogleTest built for the target" FORCE)
