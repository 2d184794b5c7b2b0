# The student list with subjects: grid, printing, run, options dialog.
file(GLOB velmont_lists_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_library(velmont_lists STATIC ${velmont_lists_sources})
target_include_directories(velmont_lists PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(velmont_lists PUBLIC velmont_reports_common velmont_print velmont_school velmont_libs velmont_data)
# velmont-batch list: the same run without windows.
file(GLOB velmont_batch_list_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/batch/list/*.cpp)
add_library(velmont_batch_list STATIC ${velmont_batch_list_sources})
target_link_libraries(velmont_batch_list PUBLIC velmont_lists velmont_batch_reports velmont_batch_lib)
target_link_libraries(velmont-batch PRIVATE velmont_batch_list)
target_compile_definitions(velmont-batch PRIVATE VELMONT_BATCH_LIST=1)
