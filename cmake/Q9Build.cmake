# Common build rules: warnings, sanitizers and small helpers that every folder uses.

set(Q9_WARNINGS -Wall -Wextra -Wpedantic -Werror)

if(Q9_WITH_FUZZ)
  # Coverage for libFuzzer in every library the targets link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(Q9_SANITIZE)
  add_compile_options(-fsanitize=${Q9_SANITIZE} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${Q9_SANITIZE})
  if(Q9_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

# Adds every sub-folder that holds a CMakeLists.txt, so that each folder's owner
# edits only its own list.
function(q9_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Applies the project's warning set to a target of our own code.
function(q9_warnings target)
  target_compile_options(${target} PRIVATE ${Q9_WARNINGS})
endfunction()

# q9_add_gtest(name SOURCES ... LIBS ... [QT] [LABELS ...])
# A GoogleTest binary whose cases CTest lists one by one. QT tests run on the
# offscreen platform, so no display is needed.
function(q9_add_gtest name)
  cmake_parse_arguments(arg "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  q9_warnings(${name})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  # Built as a list so that an empty value cannot shift the pairs.
  set(props TIMEOUT 120)
  if(arg_LABELS)
    list(APPEND props LABELS "${arg_LABELS}")
  endif()
  if(arg_QT)
    target_link_libraries(${name} PRIVATE Qt6::Widgets Qt6::Test)
    list(APPEND props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  # Listing runs without the tests' environment: a Qt test main must choose
  # the offscreen platform itself when none is set.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props})
endfunction()
