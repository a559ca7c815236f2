# SPDX-License-Identifier: GPL-3.0-or-later
# The one comparison of a picture with its approved copy, for the window and
# the page alike:
#   cmake -DACTUAL=<actual.png> -DAPPROVED=<approved.png> -P compare.cmake
# A pixel differs when one of its channels is off by more than 4 (of 255); up
# to 6 differing pixels pass (anti-aliasing of a glyph edge). One header in
# the wrong colour changes about a thousand pixels, one letter some dozens.
# A mismatch writes <actual>.diff.png beside the actual picture: the differing
# pixels red over a faded copy of it.
# PICTURES_APPROVE=1 copies the actual picture over the approved one; look at
# it before committing.
cmake_minimum_required(VERSION 3.25)
set(channel_tolerance 4)
set(allowed_pixels 6)

foreach(variable ACTUAL APPROVED)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "usage: cmake -DACTUAL=<actual.png> -DAPPROVED=<approved.png> -P compare.cmake")
    endif()
endforeach()
if(NOT EXISTS "${ACTUAL}")
    message(FATAL_ERROR "no picture ${ACTUAL}")
endif()
if("$ENV{PICTURES_APPROVE}" STREQUAL "1")
    file(COPY_FILE "${ACTUAL}" "${APPROVED}")
    message(STATUS "approved ${APPROVED}")
    return()
endif()
if(NOT EXISTS "${APPROVED}")
    message(FATAL_ERROR "no approved picture ${APPROVED}; the actual one is ${ACTUAL}")
endif()

find_program(magick_convert convert REQUIRED)
find_program(magick_identify identify REQUIRED)
string(REGEX REPLACE "\\.png$" "" diff "${ACTUAL}")
set(diff "${diff}.diff.png")
file(REMOVE "${diff}")

execute_process(COMMAND ${magick_identify} -format "%wx%h\n" "${ACTUAL}" "${APPROVED}"
    OUTPUT_VARIABLE sizes COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" sizes "${sizes}")
list(GET sizes 0 actual_size)
list(GET sizes 1 approved_size)
if(NOT actual_size STREQUAL approved_size)
    message(FATAL_ERROR "${ACTUAL} is ${actual_size}, the approved ${APPROVED} ${approved_size}")
endif()

# White where the largest channel difference is over the tolerance.
set(differing "${APPROVED}" "${ACTUAL}" -alpha off -compose difference -composite -separate
    -evaluate-sequence max -fx "u>(${channel_tolerance}.5/255)")
execute_process(COMMAND ${magick_convert} ${differing} -format "%[fx:round(mean*w*h)]" info:
    OUTPUT_VARIABLE pixels COMMAND_ERROR_IS_FATAL ANY)
if(pixels LESS_EQUAL allowed_pixels)
    return()
endif()
execute_process(COMMAND ${magick_convert} "${ACTUAL}" -alpha off -fill white -colorize 75%
    "(" ${differing} -background red -alpha shape ")" -compose over -composite "${diff}" COMMAND_ERROR_IS_FATAL ANY)
message(FATAL_ERROR "${pixels} pixels differ (at most ${allowed_pixels} may):\n"
    "  actual   ${ACTUAL}\n  approved ${APPROVED}\n  difference ${diff}")
