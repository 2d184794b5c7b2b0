# GoogleTest: the installed package for native builds; for a cross build the
# library is compiled from the sources Debian's googletest package ships, with
# the cross compiler.
if(CMAKE_CROSSCOMPILING)
  set(VELMONT_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
  if(NOT EXISTS ${VELMONT_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${VELMONT_GTEST_SOURCE_DIR} (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VELMONT_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # The library's own warnings are not ours to mend.
  foreach(lib gtest gtest_main gmock)
    target_compile_options(${lib} PRIVATE -w)
  endforeach()
  # Tests use GoogleMock's matchers, which the installed package has in its headers.
  set(VELMONT_GTEST_EXTRA gmock)
else()
  find_package(GTest REQUIRED)
endif()
