# Writes one self-contained C++ source from a program's sources: the project headers they include,
# once each and every header after those it includes, then the sources in the order given.
#
#   cmake -DOUT=FILE -DSOURCES="a.cpp|b.cpp|main.cpp" [-DINCLUDE_DIRS="dir|..."]
#         [-DDEFINES="NAME=VALUE|NAME|..."] [-DROOT=DIR] -P inline_sources.cmake
#
# A header "name" is looked for next to the file that includes it, then in INCLUDE_DIRS, as the
# compiler does. Its `#pragma once` and the project `#include "..."` lines are dropped; system
# includes, the include of testlib.h (the host's), comments and code stay as written. Each file becomes a section headed by its path
# (relative to ROOT), its own top comment following. DEFINES become #define lines at the top.
cmake_minimum_required(VERSION 3.16)

foreach(v OUT SOURCES)
  if("${${v}}" STREQUAL "")
    message(FATAL_ERROR "inline_sources: -D${v}=... is required")
  endif()
endforeach()
# Lists come joined with | so that a command line carries each as one argument.
string(REPLACE "|" ";" sources "${SOURCES}")
string(REPLACE "|" ";" include_dirs "${INCLUDE_DIRS}")
string(REPLACE "|" ";" defines "${DEFINES}")

# A project include line, at the start of a line; the text it is matched in starts with "\n".
set(include_line "\n[ \t]*#[ \t]*include[ \t]*\"[^\"\n]+\"[^\n]*")
# The checker library's header is the judging host's own, put beside the file: never inlined, and
# its include line stays as written.
set(host_header "testlib.h")

# A path as a section names it: relative to ROOT when it lies there.
function(shown path out)
  if(ROOT)
    file(RELATIVE_PATH rel "${ROOT}" "${path}")
    if(NOT rel MATCHES "^\\.\\./")
      set(path "${rel}")
    endif()
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# The project headers file includes, in order, as real paths.
function(project_includes file out)
  file(READ "${file}" text)
  string(REGEX MATCHALL "${include_line}" lines "\n${text}")
  get_filename_component(here "${file}" DIRECTORY)
  set(found "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" name "${line}")
    if(name STREQUAL host_header)
      continue()
    endif()
    set(path "")
    foreach(dir IN ITEMS "${here}" ${include_dirs})
      if(EXISTS "${dir}/${name}" AND NOT IS_DIRECTORY "${dir}/${name}")
        get_filename_component(path "${dir}/${name}" REALPATH)
        break()
      endif()
    endforeach()
    if(path STREQUAL "")
      set(where "${here}" ${include_dirs})
      list(REMOVE_DUPLICATES where)
      string(REPLACE ";" ", " where "${where}")
      message(FATAL_ERROR "inline_sources: ${file} includes \"${name}\", found in none of ${where}")
    endif()
    list(APPEND found "${path}")
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Puts header in the global list `inline_headers` after every header it includes.
function(visit header)
  get_property(done GLOBAL PROPERTY inline_headers)
  if(header IN_LIST done)
    return()
  endif()
  get_property(open GLOBAL PROPERTY inline_open)
  if(header IN_LIST open)
    string(REPLACE ";" " -> " chain "${open};${header}")
    message(FATAL_ERROR "inline_sources: include cycle ${chain}")
  endif()
  set_property(GLOBAL APPEND PROPERTY inline_open "${header}")
  project_includes("${header}" deps)
  foreach(dep IN LISTS deps)
    visit("${dep}")
  endforeach()
  get_property(open GLOBAL PROPERTY inline_open)
  list(REMOVE_ITEM open "${header}")
  set_property(GLOBAL PROPERTY inline_open "${open}")
  set_property(GLOBAL APPEND PROPERTY inline_headers "${header}")
endfunction()

# One file as a section: its path, then its text without the lines the single file does not need.
function(section file out)
  file(READ "${file}" text)
  set(text "\n${text}")
  string(REPLACE "#include \"${host_header}\"" "#include <host header>" text "${text}")
  string(REGEX REPLACE "${include_line}" "" text "${text}")
  string(REPLACE "#include <host header>" "#include \"${host_header}\"" text "${text}")
  string(REGEX REPLACE "\n[ \t]*#[ \t]*pragma[ \t]+once[^\n]*" "" text "${text}")
  string(REGEX REPLACE "\n\n\n+" "\n\n" text "${text}") # dropped lines leave no run of blanks
  string(STRIP "${text}" text) # no blank lines around a section
  string(APPEND text "\n")
  shown("${file}" name)
  set(${out} "\n// ---- ${name} ----\n${text}" PARENT_SCOPE)
endfunction()

set(files "")
foreach(source IN LISTS sources)
  if(NOT EXISTS "${source}")
    message(FATAL_ERROR "inline_sources: no source ${source}")
  endif()
  get_filename_component(path "${source}" REALPATH)
  list(APPEND files "${path}")
endforeach()
list(REMOVE_DUPLICATES files)
set_property(GLOBAL PROPERTY inline_headers "")
foreach(source IN LISTS files)
  project_includes("${source}" deps)
  foreach(dep IN LISTS deps)
    visit("${dep}")
  endforeach()
endforeach()
get_property(headers GLOBAL PROPERTY inline_headers)
foreach(header IN LISTS headers)
  if(header IN_LIST files)
    message(FATAL_ERROR "inline_sources: ${header} is both a source and included")
  endif()
endforeach()

list(GET files -1 main)
shown("${main}" main_name)
get_filename_component(out_name "${OUT}" NAME)
set(text "// ${out_name}: ${main_name} and the sources it is built with, as one file.\n\
// Generated by the build from the repository's sources (cmake/inline_sources.cmake): do not edit\n\
// it; change them. Compiles alone, as a judging host compiles it: g++ -O2 -std=c++17 ${out_name}\n")
foreach(define IN LISTS defines)
  string(REGEX REPLACE "^([^=]*)=" "\\1 " define "${define}")
  if(NOT define MATCHES " ")
    set(define "${define} 1")
  endif()
  string(APPEND text "#define ${define}\n")
endforeach()
foreach(file IN LISTS headers files)
  section("${file}" part)
  string(APPEND text "${part}")
endforeach()
file(WRITE "${OUT}" "${text}")
