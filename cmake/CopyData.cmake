# Lays the program directory's data files next to the executable.
# The notes file belongs to the user once it exists, so it is copied only when missing;
# every other file follows the source tree.
file(GLOB data_files LIST_DIRECTORIES false "${SRC}/*")
foreach(f IN LISTS data_files)
    get_filename_component(name "${f}" NAME)
    if(name STREQUAL "Name.WQ")
        if(NOT EXISTS "${DST}/${name}")
            file(COPY "${f}" DESTINATION "${DST}")
        endif()
    else()
        execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${f}" "${DST}/${name}")
    endif()
endforeach()
