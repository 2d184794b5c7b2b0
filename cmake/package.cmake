# The program's version for its two commands, what `cmake --install` puts where,
# and the Debian package that `scripts/package` makes with CPack.
configure_file(${PROJECT_SOURCE_DIR}/cmake/velmont_version.h.in
               ${PROJECT_BINARY_DIR}/generated/velmont_version.h @ONLY)
target_include_directories(velmont-batch PRIVATE ${PROJECT_BINARY_DIR}/generated)
if(TARGET velmont)
  target_include_directories(velmont PRIVATE ${PROJECT_BINARY_DIR}/generated)
endif()

if(WIN32)
  # On Windows a program keeps its files in a folder of its own: the programs and
  # their DLLs at the top (scripts/package-windows makes the installer from it),
  # the guide in doc\.
  set(CMAKE_INSTALL_BINDIR .)
  set(VELMONT_DOC_DIR doc)
  set(_velmont_licence_name LICENSE.txt)
endif()
include(GNUInstallDirs)
install(TARGETS velmont-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET velmont)
  install(TARGETS velmont RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(NOT WIN32)
  # The applications menu entry; it starts in the user's home folder, so a school
  # gives its own copy the data directory (the user guide says how).
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmont.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  set(VELMONT_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmont)
  set(_velmont_licence_name copyright)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${VELMONT_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${VELMONT_DOC_DIR} RENAME ${_velmont_licence_name})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${VELMONT_DOC_DIR})

# Manual pages made by help2man from each program's --help and --version, so they
# always say what the programs do. Without help2man (or in a cross build, whose
# programs cannot run here) there are none. In a sanitized build the programs'
# leak check at exit is left to the tests.
find_program(HELP2MAN_PROGRAM help2man)
if(HELP2MAN_PROGRAM AND NOT CMAKE_CROSSCOMPILING)
  set(_velmont_man_pages)
  # Each page: file name, program, the option that prints its help, one-line summary.
  set(_velmont_pages
      "velmont|velmont|--help|print a school's end-of-term report cards and class lists"
      "velmont-batch|velmont-batch|--help|print a school's report cards and class lists without windows"
      "velmont-batch-eot|velmont-batch|eot --help|print the end-of-term report cards without windows"
      "velmont-batch-list|velmont-batch|list --help|print a year level's home-class list with subjects without windows"
      "velmont-batch-demo|velmont-batch|demo --help|write a sample school's data directory"
      "velmont-batch-check|velmont-batch|check --help|examine a school's data directory for what would stop a report"
      "velmont-batch-dump|velmont-batch|dump --help|print a table's records as CSV")
  foreach(_entry IN LISTS _velmont_pages)
    string(REPLACE "|" ";" _entry "${_entry}")
    list(GET _entry 0 _name)
    list(GET _entry 1 _program)
    list(GET _entry 2 _help)
    list(GET _entry 3 _summary)
    if(NOT TARGET ${_program})
      continue()
    endif()
    set(_page ${PROJECT_BINARY_DIR}/man/${_name}.1)
    # help2man names a page after the program; a command's page takes its own name.
    string(TOUPPER "${_program}" _program_upper)
    string(TOUPPER "${_name}" _name_upper)
    add_custom_command(
      OUTPUT ${_page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${HELP2MAN_PROGRAM} --no-info --section=1 --name=${_summary} --help-option=${_help}
              --output=${_page} $<TARGET_FILE:${_program}>
      COMMAND sed -i -e "s/^\\.TH ${_program_upper} /.TH ${_name_upper} /"
              -e "/^\\.SH NAME/{n;s/^${_program} /${_name} /;}" ${_page}
      COMMAND gzip -9nf ${_page}
      DEPENDS ${_program}
      COMMENT "Manual page ${_name}(1)"
      VERBATIM)
    list(APPEND _velmont_man_pages ${_page}.gz)
  endforeach()
  add_custom_target(velmont_man_pages ALL DEPENDS ${_velmont_man_pages})
  install(FILES ${_velmont_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no manual pages")
endif()

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
