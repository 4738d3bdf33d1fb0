# Precompiled headers: the standard and Qt headers of cmake/precompiled_headers.h
# (and GoogleTest's for the tests), compiled once per target instead of once
# per source. A target's header costs about as much as four of its sources
# (some 200 MB with debug information), so only targets whose sources spend
# most of their time in Qt's widget and painting headers get one.
# -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON builds without them.

set(PRISTROJE_PCH_MIN_SOURCES 4)

# pristroje_precompile(DIRECTORY dir MATCHING regex) : the libraries and programs
#                                                      of dir whose names match
# pristroje_precompile(TARGETS t... [EXTRA header...])
function(pristroje_precompile)
  cmake_parse_arguments(arg "" "DIRECTORY;MATCHING" "TARGETS;EXTRA" ${ARGN})
  set(_targets ${arg_TARGETS})
  if(arg_DIRECTORY)
    get_property(_targets DIRECTORY ${arg_DIRECTORY} PROPERTY BUILDSYSTEM_TARGETS)
    list(FILTER _targets INCLUDE REGEX "${arg_MATCHING}")
  endif()
  foreach(_t ${_targets})
    get_target_property(_type ${_t} TYPE)
    if(NOT _type STREQUAL "STATIC_LIBRARY" AND NOT _type STREQUAL "EXECUTABLE")
      continue()
    endif()
    get_target_property(_sources ${_t} SOURCES)
    list(FILTER _sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH _sources _n)
    if(_n LESS PRISTROJE_PCH_MIN_SOURCES)
      continue()
    endif()
    target_precompile_headers(${_t} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/precompiled_headers.h ${arg_EXTRA})
  endforeach()
endfunction()
