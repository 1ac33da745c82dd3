# The packages for each kind of judging host: `cmake --build build --target packages` writes
# build/packages/ anew with package/packages.sh, from the single-file sources, the test set and
# static checkers.

# Hosts run the checker as it is, whatever their C library: the two shipped as binaries are linked
# statically from their single sources, with the release hardening and none of this build's own
# flags, so a debug or sanitized build makes them the same way.
set(STATIC_DIR ${PROJECT_BINARY_DIR}/static)
file(MAKE_DIRECTORY ${STATIC_DIR})
set(static_flags -std=c++17 -O2 -D_FORTIFY_SOURCE=2 -fstack-protector-strong -fPIE -static-pie
  -Wl,-z,relro,-z,now -s)
foreach(name checker checker-cms)
  add_custom_command(OUTPUT ${STATIC_DIR}/${name}
    COMMAND ${CMAKE_CXX_COMPILER} ${static_flags} -o ${STATIC_DIR}/${name} ${SINGLE_DIR}/${name}.cpp
    DEPENDS ${SINGLE_DIR}/${name}.cpp
    COMMENT "Linking static/${name} statically from single/${name}.cpp"
    VERBATIM)
endforeach()
add_custom_target(static-checkers ALL DEPENDS ${STATIC_DIR}/checker ${STATIC_DIR}/checker-cms)
# After the sources are generated, so that two targets never write them at once in a parallel build.
add_dependencies(static-checkers single-sources)

add_custom_target(packages
  COMMAND ${CMAKE_COMMAND} -E env CMAKE=${CMAKE_COMMAND}
    sh ${PROJECT_SOURCE_DIR}/package/packages.sh ${PROJECT_BINARY_DIR}/packages ${PROJECT_SOURCE_DIR}
    ${SINGLE_DIR} $<TARGET_FILE:testset> ${STATIC_DIR}/checker ${STATIC_DIR}/checker-cms
  DEPENDS static-checkers single-sources testset
  COMMENT "Writing build/packages/ for each kind of judging host"
  VERBATIM)
