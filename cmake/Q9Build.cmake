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

# Applies the project's warning set to a target of our own code.
function(q9_warnings target)
  target_compile_options(${target} PRIVATE ${Q9_WARNINGS})
endfunction()

# q9_add_qt_library(name SOURCES ... LIBS ...)
# A static library of windows: Qt Widgets, the meta-object compiler for its
# Q_OBJECT classes, the warning set. Only Qt targets run moc.
function(q9_add_qt_library name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${arg_LIBS} Qt6::Widgets)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  q9_warnings(${name})
endfunction()

# q9_add_gtest(name SOURCES ... LIBS ... [QT])
# A GoogleTest binary whose cases CTest lists one by one. Every test binary is
# named test_<folder>[_<part>] and labelled with its folder under tests/, so
# `ctest -L <folder>` reaches all of a folder's tests. Each links the shared
# test support; QT tests get the one Qt test main and run on the offscreen
# platform, so no display is needed.
function(q9_add_gtest name)
  cmake_parse_arguments(arg "QT" "" "SOURCES;LIBS" ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" folder "${folder}")
  string(REPLACE "-" "_" folder_id "${folder}")
  if(NOT name MATCHES "^test_${folder_id}(_[a-z0-9_]+)?$")
    message(FATAL_ERROR "test binary ${name} in tests/${folder}: name it test_${folder_id}[_part]")
  endif()
  add_executable(${name} ${arg_SOURCES})
  q9_warnings(${name})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} q9_test_support GTest::gtest GTest::gmock Threads::Threads)
  # Built as a list so that an empty value cannot shift the pairs.
  set(props TIMEOUT 120 LABELS ${folder})
  if(arg_QT)
    target_link_libraries(${name} PRIVATE q9_qt_test_main Qt6::Widgets Qt6::Test)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    list(APPEND props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  # Listing runs without the tests' environment: the Qt test main chooses the
  # offscreen platform itself when none is set.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props})
endfunction()

# q9_add_bench(name SOURCES ... LIBS ... [TESTER_SIM] [PROGRAM])
# A benchmark program (built, run by hand). TESTER_SIM hands it the simulator's
# path as TESTER_SIM_PATH, PROGRAM the program's as Q9_PROGRAM; each is then
# built first.
function(q9_add_bench name)
  cmake_parse_arguments(arg "TESTER_SIM;PROGRAM" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS})
  q9_warnings(${name})
  if(arg_TESTER_SIM)
    target_compile_definitions(${name} PRIVATE TESTER_SIM_PATH="$<TARGET_FILE:tester-sim>")
    add_dependencies(${name} tester-sim)
  endif()
  if(arg_PROGRAM)
    target_compile_definitions(${name} PRIVATE Q9_PROGRAM="$<TARGET_FILE:q9tester>")
    add_dependencies(${name} q9tester)
  endif()
endfunction()
