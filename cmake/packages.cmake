# The packages for each kind of judging host: the tool `package` writes them from a folder of
# tests (build/package here, PREFIX/bin/water-package installed), and
# `cmake --build build --target packages` runs it on the built-in test set into build/packages/.

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

# The statement's figure of the sample, drawn by the judge's own volume code; the build stops when
# the drawing and the judge disagree. Written whole or not at all, so a failure is not kept.
set(PACKAGE_DATA ${PROJECT_BINARY_DIR}/package-data)
file(MAKE_DIRECTORY ${PACKAGE_DATA})
add_executable(sample-figure package/figure.cpp)
target_link_libraries(sample-figure PRIVATE cli)
set(sample_in ${PROJECT_SOURCE_DIR}/sample/input.txt)
set(sample_ans ${PROJECT_SOURCE_DIR}/sample/answer.txt)
add_custom_command(OUTPUT ${PACKAGE_DATA}/sample-figure.png
  COMMAND sh -c "\"$0\" \"$1\" \"$2\" > \"$3.new\" && mv \"$3.new\" \"$3\""
    $<TARGET_FILE:sample-figure> ${sample_in} ${sample_ans} ${PACKAGE_DATA}/sample-figure.png
  DEPENDS sample-figure ${sample_in} ${sample_ans}
  COMMENT "Drawing the sample's columns and water for the statement"
  VERBATIM)
add_custom_target(package-parts ALL DEPENDS ${PACKAGE_DATA}/sample-figure.png)
add_dependencies(package-parts static-checkers single-sources validate invoke hunt)

# The tool itself, with the paths of its parts: here those of this build, installed those beside
# it in PREFIX. pdflatex and cmake as found now, unless PDFLATEX or CMAKE name others when it runs.
find_program(PDFLATEX pdflatex)
if(NOT PDFLATEX)
  set(PDFLATEX pdflatex)
endif()
add_library(package_writers STATIC package/files.cpp package/statement.cpp
  package/score_file.cpp package/cms.cpp package/testlib.cpp package/icpc.cpp
  package/polygon.cpp package/dmoj.cpp package/hydro.cpp package/sio2.cpp package/boca.cpp)
target_include_directories(package_writers PUBLIC package)
target_link_libraries(package_writers PUBLIC solutions)
target_compile_definitions(package_writers PRIVATE CMAKE_PATH="${CMAKE_COMMAND}")
add_executable(package package/package.cpp package/paths.cpp)
target_link_libraries(package PRIVATE package_writers solutions)
target_compile_definitions(package PRIVATE CMAKE_PATH="${CMAKE_COMMAND}" PDFLATEX_PATH="${PDFLATEX}"
  STATEMENT_PATH="${PROJECT_SOURCE_DIR}/package/statement.tex" SAMPLE_IN_PATH="${sample_in}"
  SAMPLE_ANS_PATH="${sample_ans}" FIGURE_PATH="${PACKAGE_DATA}/sample-figure.png"
  TEMPLATE_PATH="${PROJECT_SOURCE_DIR}/package/template.tex" SINGLE_DIR="${SINGLE_DIR}"
  SUBMISSIONS_DIR="${PROJECT_SOURCE_DIR}/submissions" JUDGES_DIR="${STATIC_DIR}"
  INVOKE_PATH="$<TARGET_FILE:invoke>")
add_executable(water-package package/package.cpp package/paths.cpp)
target_link_libraries(water-package PRIVATE package_writers solutions)
target_compile_definitions(water-package PRIVATE INSTALLED CMAKE_PATH="${CMAKE_COMMAND}"
  PDFLATEX_PATH="${PDFLATEX}")
add_dependencies(package-parts package water-package)
install(PROGRAMS $<TARGET_FILE:water-package> DESTINATION bin)
install(FILES package/statement.tex package/template.tex ${PACKAGE_DATA}/sample-figure.png
  DESTINATION share/water)
install(FILES ${sample_in} ${sample_ans} DESTINATION share/water/sample)
install(FILES ${SINGLE_DIR}/check.cpp ${SINGLE_DIR}/validator.cpp
  ${SINGLE_DIR}/checker-sio2.cpp ${SINGLE_DIR}/checker-boca.cpp ${SINGLE_DIR}/input_validator.cpp
  ${SINGLE_DIR}/output_validator.cpp DESTINATION share/water/single)
install(DIRECTORY submissions/ DESTINATION share/water/submissions)
install(PROGRAMS ${STATIC_DIR}/checker ${STATIC_DIR}/checker-cms DESTINATION libexec/water)

# The built-in test set, packaged; the tests are written for the run and removed after it.
set(packaged_tests ${PROJECT_BINARY_DIR}/packaged-tests)
add_custom_target(packages
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${packaged_tests}
  COMMAND testset ${packaged_tests}
  COMMAND ${PROJECT_BINARY_DIR}/package ${packaged_tests} ${PROJECT_BINARY_DIR}/packages
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${packaged_tests}
  DEPENDS package-parts testset
  COMMENT "Writing build/packages/ for each kind of judging host from testset's tests"
  VERBATIM)
