# The student list with subjects: grid, printing, run, options dialog.
file(GLOB velmont_lists_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_library(velmont_lists STATIC ${velmont_lists_sources})
target_include_directories(velmont_lists PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(velmont_lists PUBLIC velmont_print velmont_libs velmont_data)
