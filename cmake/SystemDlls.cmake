# SPDX-License-Identifier: GPL-3.0-or-later
# nihilist_system_dlls_only(TARGET): the Windows program takes the DLLs of
# Windows from System32 alone (resources/system-dlls.cpp says why).
# Windows reads the load flag for the imports it resolves at start; the
# imports that are not KnownDLLs (which Windows always takes from System32)
# are also delay-loaded, so that they are loaded after the program has
# limited every later search to System32: that covers Windows without the
# flag, and Wine, which ignores it.
set(NIHILIST_DELAY_LOADED authz d3d9 d3d11 dwmapi dwrite dxgi netapi32 userenv uxtheme version winmm wtsapi32)

function(nihilist_system_dlls_only target)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/system-dlls.cpp)
    if(MSVC)
        list(TRANSFORM NIHILIST_DELAY_LOADED REPLACE "(.+)" "/DELAYLOAD:\\1.dll" OUTPUT_VARIABLE delayed)
        target_link_options(${target} PRIVATE /DEPENDENTLOADFLAG:0x800 ${delayed})
        target_link_libraries(${target} PRIVATE delayimp)
        return()
    endif()
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    string(REGEX REPLACE "-(gcc|g\\+\\+)(-posix)?$" "-dlltool" dlltool "${CMAKE_CXX_COMPILER}")
    # mingw's import libraries bind at start; delay-loading ones made from
    # them by dlltool, found first under the same names, replace them.
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-loaded)
    file(MAKE_DIRECTORY ${folder})
    foreach(name IN LISTS NIHILIST_DELAY_LOADED)
        find_library(import_${name} NAMES lib${name}.a REQUIRED NO_CACHE)
        execute_process(COMMAND ${CMAKE_NM} --defined-only ${import_${name}} OUTPUT_VARIABLE symbols
            COMMAND_ERROR_IS_FATAL ANY)
        # Functions only (a code symbol beside its __imp_ pointer): data
        # cannot be delay-loaded.
        string(REGEX MATCHALL "\n[0-9a-f]+ T [A-Za-z_][A-Za-z0-9_@]*" functions "\n${symbols}")
        list(TRANSFORM functions REPLACE "^\n[0-9a-f]+ T " "")
        list(REMOVE_DUPLICATES functions)
        list(JOIN functions "\n" exports)
        file(WRITE ${folder}/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
        execute_process(COMMAND ${dlltool} --input-def ${folder}/${name}.def --dllname ${name}.dll
            --output-delaylib ${folder}/lib${name}.a COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    target_link_directories(${target} BEFORE PRIVATE ${folder})
    target_link_options(${target} PRIVATE LINKER:--undefined=__delayLoadHelper2,--undefined=_load_config_used,--undefined=nihilist_delay_import_end)
    target_link_libraries(${target} PRIVATE delayimp)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/pe-directories.py $<TARGET_FILE:${target}>)
endfunction()
