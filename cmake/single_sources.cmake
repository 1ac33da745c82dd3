# Self-contained sources for judging hosts that compile a checker or validator themselves: each
# built program as one .cpp in ${SINGLE_DIR}, generated from its sources at build time.
#
# single_source(NAME TARGET) makes ${SINGLE_DIR}/NAME from what TARGET is built from: the sources
# of the libraries it links (their libraries first), then its own, with their include folders and
# TARGET's compile definitions. The target single-sources builds every one of them; the list
# SINGLE_SOURCES holds their paths, and SINGLE_PROGRAMS the target each was made from, pairwise.

set(SINGLE_DIR ${PROJECT_BINARY_DIR}/single)
set(SINGLE_SOURCES "")
set(SINGLE_PROGRAMS "")
set(inline_script ${CMAKE_CURRENT_LIST_DIR}/inline_sources.cmake)
# The generator finds the headers itself; any of them changing makes it run again.
file(GLOB single_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.h
  ${PROJECT_SOURCE_DIR}/tools/*.h ${PROJECT_SOURCE_DIR}/run/*.h)

# Appends to `files` and `dirs` the sources and include folders of target and what it links.
function(single_parts target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(TARGET ${lib})
      single_parts(${lib})
    endif()
  endforeach()
  get_target_property(own ${target} SOURCES)
  get_target_property(at ${target} SOURCE_DIR)
  foreach(f IN LISTS own)
    get_filename_component(f ${f} ABSOLUTE BASE_DIR ${at})
    list(APPEND files ${f})
  endforeach()
  get_target_property(inc ${target} INCLUDE_DIRECTORIES)
  if(inc)
    list(APPEND dirs ${inc})
  endif()
  set(files ${files} PARENT_SCOPE)
  set(dirs ${dirs} PARENT_SCOPE)
endfunction()

function(single_source name target)
  set(files "")
  set(dirs "")
  single_parts(${target})
  list(REMOVE_DUPLICATES files)
  list(REMOVE_DUPLICATES dirs)
  get_target_property(defs ${target} COMPILE_DEFINITIONS)
  if(NOT defs)
    set(defs "")
  endif()
  string(REPLACE ";" "|" joined_files "${files}")
  string(REPLACE ";" "|" joined_dirs "${dirs}")
  string(REPLACE ";" "|" joined_defs "${defs}")
  set(out ${SINGLE_DIR}/${name})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DSOURCES=${joined_files} -DINCLUDE_DIRS=${joined_dirs}
      -DDEFINES=${joined_defs} -DROOT=${PROJECT_SOURCE_DIR} -P ${inline_script}
    DEPENDS ${files} ${single_headers} ${inline_script}
    COMMENT "Generating single/${name} from the sources of ${target}"
    VERBATIM)
  set(SINGLE_SOURCES ${SINGLE_SOURCES} ${out} PARENT_SCOPE)
  set(SINGLE_PROGRAMS ${SINGLE_PROGRAMS} ${target} PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${SINGLE_DIR})
single_source(checker.cpp checker)
single_source(check.cpp checker-testlib)
single_source(output_validator.cpp checker-icpc)
single_source(checker-cms.cpp checker-cms)
single_source(checker-sio2.cpp checker-sio2)
single_source(checker-boca.cpp checker-boca)
single_source(input_validator.cpp input-validator)
single_source(validator.cpp input-validator-testlib)

add_custom_target(single-sources ALL DEPENDS ${SINGLE_SOURCES})
