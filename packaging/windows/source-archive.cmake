# SPDX-License-Identifier: GPL-3.0-or-later
# Run when the Windows program is installed or packaged: writes the source it
# was built from to source/<NIHILIST_SOURCE_NAME>.zip. From git, the checked
# out commit with any changes made to its files since; without git, the
# files of the source folder that git would not ignore, in the same shape.
set(archive "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/source/${NIHILIST_SOURCE_NAME}.zip")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/source")
find_program(GIT git)
if(GIT AND EXISTS "${NIHILIST_SOURCE_DIR}/.git")
    # "stash create" makes a commit of the changed files and prints nothing
    # when there are none.
    execute_process(COMMAND ${GIT} stash create WORKING_DIRECTORY "${NIHILIST_SOURCE_DIR}"
        OUTPUT_VARIABLE tree OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT tree)
        set(tree HEAD)
    endif()
    execute_process(COMMAND ${GIT} archive --format=zip --prefix=${NIHILIST_SOURCE_NAME}/ -o "${archive}" ${tree}
        WORKING_DIRECTORY "${NIHILIST_SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
else()
    # The same shape as from git: one top folder, and none of the files git
    # would ignore (.gitignore's patterns, read as git reads these ones).
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${NIHILIST_SOURCE_DIR}" "${NIHILIST_SOURCE_DIR}/*")
    set(ignored "^\\.git(/|$)")
    if(EXISTS "${NIHILIST_SOURCE_DIR}/.gitignore")
        file(STRINGS "${NIHILIST_SOURCE_DIR}/.gitignore" patterns REGEX "^[^#]")
        foreach(pattern IN LISTS patterns)
            string(REGEX REPLACE "([.+()^$])" "\\\\\\1" regex "${pattern}")
            string(REPLACE "*" "[^/]*" regex "${regex}")
            if(regex MATCHES "^/")
                string(REGEX REPLACE "^/" "^" regex "${regex}")
            else()
                set(regex "(^|/)${regex}")
            endif()
            if(NOT regex MATCHES "/$")
                string(APPEND regex "(/|$)")
            endif()
            list(APPEND ignored "${regex}")
        endforeach()
    endif()
    foreach(regex IN LISTS ignored)
        list(FILTER files EXCLUDE REGEX "${regex}")
    endforeach()
    set(staging "${NIHILIST_STAGING_DIR}")
    file(REMOVE_RECURSE "${staging}")
    foreach(file IN LISTS files)
        get_filename_component(folder "${staging}/${NIHILIST_SOURCE_NAME}/${file}" DIRECTORY)
        file(COPY "${NIHILIST_SOURCE_DIR}/${file}" DESTINATION "${folder}")
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${archive}" --format=zip -- ${NIHILIST_SOURCE_NAME}
        WORKING_DIRECTORY "${staging}" COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${staging}")
endif()
message(STATUS "Source: ${archive}")
