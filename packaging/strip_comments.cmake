# Run by CPack once the packages' files are staged and stripped. strip keeps the .comment
# section, the compiler's name and version in every object, which Debian leaves out of packages.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS staged)
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(COMMAND ${CPACK_QUORVEL_OBJCOPY} --remove-section=.comment "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
