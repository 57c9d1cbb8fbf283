# Writes the program's version into a header, run at every build:
#   cmake -DSOURCE_DIR=... -DOUTPUT=.../pelmot_version.h -P version.cmake
# The version comes from `git describe` in a form dpkg sorts right:
#   at the tag v0.1.0            0.1.0
#   3 commits after it           0.1.0+git3.abc1234
#   before any tag, 12 commits   0.0~git12.abc1234
# A source tree without git history gets the fixed fallback below.
set(fallback "0.1.0")

find_package(Git QUIET)
set(described "")
if(GIT_EXECUTABLE)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} describe --tags --always --long --abbrev=7
                          --match "v[0-9]*"
                  OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(described "")
  endif()
endif()

if(described MATCHES "^v([0-9][0-9A-Za-z.~]*)-([0-9]+)-g([0-9a-f]+)$")
  if(CMAKE_MATCH_2 EQUAL 0)
    set(version "${CMAKE_MATCH_1}")
  else()
    set(version "${CMAKE_MATCH_1}+git${CMAKE_MATCH_2}.${CMAKE_MATCH_3}")
  endif()
elseif(described MATCHES "^([0-9a-f]+)$")
  set(hash "${CMAKE_MATCH_1}")
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} rev-list --count HEAD
                  OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  set(version "0.0~git${count}.${hash}")
else()
  set(version "${fallback}")
endif()

# Written only when it changed, so an unchanged version rebuilds nothing.
file(WRITE ${OUTPUT}.new
     "// Written by cmake/version.cmake at build time.\n#pragma once\n"
     "#define PELMOT_VERSION \"${version}\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUTPUT}.new ${OUTPUT})
file(REMOVE ${OUTPUT}.new)
