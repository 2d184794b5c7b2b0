# What the Windows programs need beside them when built with Qt: Qt's DLLs and
# plugins, and the compiler's runtime DLLs (Qt's DLLs use them, so the programs
# share them). `cmake --install` puts them beside the programs, where Windows
# looks first; under Wine the build's own programs and tests find them through
# WINEPATH (VELMONT_WINE_ENVIRONMENT).
set(VELMONT_RUNTIME_DLLS)
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
    message(FATAL_ERROR "The compiler's runtime ${dll} was not found (${_path})")
  endif()
  list(APPEND VELMONT_RUNTIME_DLLS ${_path})
endforeach()

get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT _qt_core_dll)
  get_target_property(_qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(VELMONT_QT_BIN_DIR ${_qt_core_dll} DIRECTORY)
get_filename_component(VELMONT_QT_PLUGIN_DIR ${VELMONT_QT_BIN_DIR}/../plugins ABSOLUTE)

# WINEPATH: Windows paths, the Unix root being drive Z:, separated by ';' (escaped
# for a CMake list of environment settings).
set(_wine_dirs ${VELMONT_QT_BIN_DIR})
foreach(dll IN LISTS VELMONT_RUNTIME_DLLS)
  get_filename_component(_dir ${dll} DIRECTORY)
  list(APPEND _wine_dirs ${_dir})
endforeach()
list(REMOVE_DUPLICATES _wine_dirs)
list(TRANSFORM _wine_dirs PREPEND "Z:")
string(REPLACE ";" "\\;" _wine_path "${_wine_dirs}")
# Qt's offscreen platform on Windows (the window tests') reads the fonts of one folder
# only, QT_QPA_FONTDIR: it gets those the Linux build's offscreen platform finds
# through fontconfig.
set(VELMONT_OFFSCREEN_FONTS ${PROJECT_BINARY_DIR}/offscreen-fonts)
file(MAKE_DIRECTORY ${VELMONT_OFFSCREEN_FONTS})
file(GLOB _fonts /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf)
foreach(font IN LISTS _fonts)
  get_filename_component(_name ${font} NAME)
  file(CREATE_LINK ${font} ${VELMONT_OFFSCREEN_FONTS}/${_name} SYMBOLIC)
endforeach()
set(VELMONT_WINE_ENVIRONMENT "WINEPATH=${_wine_path};QT_QPA_FONTDIR=Z:${VELMONT_OFFSCREEN_FONTS}")
# The same for scripts and for running the build's programs by hand:
#   env $(cat BUILD/wine-environment) wine64 BUILD/src/velmont-batch.exe --version
file(WRITE ${PROJECT_BINARY_DIR}/wine-environment "WINEPATH=${_wine_dirs}\nQT_QPA_FONTDIR=Z:${VELMONT_OFFSCREEN_FONTS}\n")

# Installed beside velmont.exe: the DLLs of the Qt modules the programs use, the
# platform, style and print plugins, and the runtime.
set(_qt_dlls)
foreach(module Core Gui Widgets PrintSupport)
  list(APPEND _qt_dlls ${VELMONT_QT_BIN_DIR}/Qt6${module}.dll)
endforeach()
install(FILES ${_qt_dlls} ${VELMONT_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELMONT_QT_PLUGIN_DIR}/platforms/qwindows.dll DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
install(DIRECTORY ${VELMONT_QT_PLUGIN_DIR}/styles ${VELMONT_QT_PLUGIN_DIR}/imageformats
        DESTINATION ${CMAKE_INSTALL_BINDIR} OPTIONAL FILES_MATCHING PATTERN "*.dll")
