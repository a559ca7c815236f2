# SPDX-License-Identifier: GPL-3.0-or-later
# Run when the Windows program is installed or packaged: writes the source it
# was built from to source/<NIHILIST_SOURCE_NAME>.zip. From git, the checked
# out commit with any changes made to its files since; without git, every
# file of the source folder but the build output.
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
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${NIHILIST_SOURCE_DIR}" "${NIHILIST_SOURCE_DIR}/*")
    list(FILTER files EXCLUDE REGEX "^(build|dist|\\.git)/")
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${archive}" --format=zip -- ${files}
        WORKING_DIRECTORY "${NIHILIST_SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
endif()
message(STATUS "Source: ${archive}")
