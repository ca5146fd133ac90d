# Precompiled headers: the Qt and standard headers most sources include,
# parsed once instead of once for every source (they were about half of a
# source's compile time in the checked build). Only outside headers go in, so
# a change to the project's own headers rebuilds no more than before. One
# header is made for the libraries (the first library made precompiles it,
# the others and the programs compiled like them reuse it) and one for the
# test programs (made by the tests' common library): a precompiled header of
# the sanitized build is some 200 MB.
set(ZL_LIBRARY_PCH_HEADERS
  <QString> <QStringList> <QByteArray> <QList> <QPointer> <QFile> <QFileInfo> <QDir>
  <QSizeF> <QRectF> <QColor> <QFont> <QImage> <QPainter>
  <QWidget> <QDialog> <QLabel> <QPushButton> <QLineEdit> <QComboBox> <QCheckBox>
  <QRadioButton> <QGroupBox> <QButtonGroup> <QVBoxLayout> <QHBoxLayout> <QGridLayout>
  <algorithm> <cmath> <cstring> <exception> <functional> <memory> <vector>)
set(ZL_TEST_PCH_HEADERS ${ZL_LIBRARY_PCH_HEADERS}
  <gtest/gtest.h> <QTest> <QTemporaryDir> <QAction> <QCoreApplication> <QRegularExpression>
  <QRandomGenerator> <atomic>)
# KIND is LIBRARY or TEST: the target's sources are compiled as the
# libraries' or as the tests' are (the same options and definitions).
function(zl_precompile_headers target kind)
  if(NOT ZL_PCH)
    return()
  endif()
  get_property(maker GLOBAL PROPERTY ZL_PCH_MAKER_${kind})
  if(maker)
    target_precompile_headers(${target} REUSE_FROM ${maker})
  else()
    target_precompile_headers(${target} PRIVATE ${ZL_${kind}_PCH_HEADERS})
    set_property(GLOBAL PROPERTY ZL_PCH_MAKER_${kind} ${target})
  endif()
endfunction()

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
    zl_precompile_headers(${name} LIBRARY)
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
# name than the program's (one program can then run as two entries). SHARDS N
# splits a long program into N entries of their own (NAME_1of2, ...), each
# process running every Nth test (GoogleTest's own sharding, so every test
# lands in exactly one), shuffled and repeated as above: ctest can then keep
# every core busy while the longest program runs.
function(zl_add_test_program name)
  cmake_parse_arguments(ARG "" "COST;TIMEOUT;ROUNDS;FILTER;NAME;SHARDS" "LABELS" ${ARGN})
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
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  set(args --gtest_shuffle --gtest_repeat=${ARG_ROUNDS})
  if(ARG_FILTER)
    list(APPEND args --gtest_filter=${ARG_FILTER})
  endif()
  set(env "QT_QPA_PLATFORM=offscreen")
  if(ARG_SHARDS GREATER 1)
    math(EXPR last "${ARG_SHARDS} - 1")
    math(EXPR cost "${ARG_COST} / ${ARG_SHARDS} + 1")
    foreach(i RANGE ${last})
      math(EXPR n "${i} + 1")
      list(APPEND tests ${ARG_NAME}_${n}of${ARG_SHARDS})
      add_test(NAME ${ARG_NAME}_${n}of${ARG_SHARDS} COMMAND ${name} ${args})
      set_tests_properties(${ARG_NAME}_${n}of${ARG_SHARDS} PROPERTIES
        ENVIRONMENT "${env};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${i}"
        TIMEOUT ${ARG_TIMEOUT} COST ${cost})
    endforeach()
  else()
    set(tests ${ARG_NAME})
    add_test(NAME ${ARG_NAME} COMMAND ${name} ${args})
    set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${ARG_TIMEOUT} COST ${ARG_COST})
  endif()
  if(ARG_LABELS)
    set_tests_properties(${tests} PROPERTIES LABELS "${ARG_LABELS}")
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
  cmake_parse_arguments(ARG "" "COST;SHARDS" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/tests/${folder}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE zl_test_main ${ARG_DEPS} GTest::gtest GTest::gmock Qt6::Test)
  zl_test_sources_options(${name})
  zl_precompile_headers(${name} TEST)
  zl_add_test_program(${name} COST ${ARG_COST} SHARDS ${ARG_SHARDS})
endfunction()
