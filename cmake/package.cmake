# The program's version for its two commands, what `cmake --install` puts where,
# and the Debian package that `scripts/package` makes with CPack.
configure_file(${PROJECT_SOURCE_DIR}/cmake/velmont_version.h.in
               ${PROJECT_BINARY_DIR}/generated/velmont_version.h @ONLY)
target_include_directories(velmont-batch PRIVATE ${PROJECT_BINARY_DIR}/generated)
if(TARGET velmont)
  target_include_directories(velmont PRIVATE ${PROJECT_BINARY_DIR}/generated)
endif()

include(GNUInstallDirs)
install(TARGETS velmont-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET velmont)
  install(TARGETS velmont RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The applications menu entry; it starts in the user's home folder, so a school
# gives its own copy the data directory (the user guide says how).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmont.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
set(VELMONT_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmont)
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${VELMONT_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${VELMONT_DOC_DIR} RENAME copyright)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${VELMONT_DOC_DIR})

set(CPACK_PACKAGE_NAME velmont)
set(CPACK_PACKAGE_VENDOR "Velmont Reports")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "End-of-term report cards and class lists from a school's dBASE tables")
set(CPACK_PACKAGE_CONTACT "Velmont Reports developers <velmont@localhost>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link come from dpkg-shlibdeps; the fonts the
# reports name are found at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, xdg-utils")
include(CPack)
