# Writes the header that names the source revision built: seven lower-case
# hexadecimal digits, or 0000000 outside a git checkout. Run at every build;
# the header is rewritten only when the revision changed, so only the file
# that shows it is compiled again.
# Inputs: SOURCE_DIR (the checkout), OUTPUT (the header to write).
set(build_id "0000000")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} rev-parse --short=7 HEAD
    WORKING_DIRECTORY ${SOURCE_DIR}
    OUTPUT_VARIABLE revision
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE result
    ERROR_QUIET)
  # Git prints more digits when seven are ambiguous; the program shows seven.
  if(result EQUAL 0 AND revision MATCHES "^([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])")
    set(build_id "${CMAKE_MATCH_1}")
  endif()
endif()

set(content "#pragma once\n\n// Generated at build time from the source revision.\ninline constexpr const char* kBuildId = \"${build_id}\";\n")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} previous)
else()
  set(previous "")
endif()
if(NOT previous STREQUAL content)
  file(WRITE ${OUTPUT} "${content}")
endif()
