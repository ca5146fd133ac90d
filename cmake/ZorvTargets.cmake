# Each subsystem folder is one static library made of every source below it;
# a folder with no sources yet is an interface library so dependants still link.
function(zl_add_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.c
    ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  set(has_cpp FALSE)
  foreach(s ${srcs})
    if(s MATCHES "\\.(cpp|c)$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${srcs})
    add_dependencies(${name} zl_check_layers)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# A test program runs as one ctest entry: all its tests in one process, in a
# random order, three rounds over, so that no test passes or fails because of
# what another test left behind. Each round prints its seed
# (--gtest_random_seed=N replays that order; run the program with
# --gtest_filter to run a single test). COST lets ctest start the long
# programs first. ROUNDS 1 is for sweeps whose tests only make and read back
# values and share no state with each other: a second order finds nothing
# new in them. FILTER runs only those tests, and NAME gives the entry another
# name than the program's (one program can then run as two entries).
function(zl_add_test_program name)
  cmake_parse_arguments(ARG "" "COST;TIMEOUT;ROUNDS;FILTER;NAME" "LABELS" ${ARGN})
  if(NOT ARG_COST)
    set(ARG_COST 1)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 1800)
  endif()
  if(NOT ARG_ROUNDS)
    set(ARG_ROUNDS 3)
  endif()
  if(NOT ARG_NAME)
    set(ARG_NAME ${name})
  endif()
  set(args --gtest_shuffle --gtest_repeat=${ARG_ROUNDS})
  if(ARG_FILTER)
    list(APPEND args --gtest_filter=${ARG_FILTER})
  endif()
  add_test(NAME ${ARG_NAME} COMMAND ${name} ${args})
  set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT ${ARG_TIMEOUT} COST ${ARG_COST})
  if(ARG_LABELS)
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# The test programs' own sources compile at -O0 in the checked build: the
# work they test runs in the libraries, which keep the build's level, while
# the tests' code (calls, comparisons and GoogleTest's macros) compiles in
# half the time. The sanitizers check both alike.
function(zl_test_sources_options target)
  if(ZL_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()

# One GoogleTest executable per subsystem: every test source below tests/<folder>.
function(zl_add_test_suite name folder)
  cmake_parse_arguments(ARG "" "COST" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/tests/${folder}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE zl_test_main ${ARG_DEPS} GTest::gtest GTest::gmock Qt6::Test)
  zl_test_sources_options(${name})
  zl_add_test_program(${name} COST ${ARG_COST})
endfunction()
