# The plain suites built for WebAssembly (included from tests/ when the
# toolchain is emscripten's). GoogleTest is built here from Debian's
# sources in /usr/src/googletest, there being no WebAssembly build of it;
# Boost.Math, header-only, serves the reference tests from the desktop's
# headers. Each suite is one program, build-web/tests/.../<name>.js, run
# by node as one CTest test (starting node once per test case would cost
# more than many of the cases themselves).
set(QUORV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${QUORV_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Only boost/ of /usr/include: the whole folder would put the desktop's C
# library headers before emscripten's own.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/boost-include)
file(CREATE_LINK /usr/include/boost ${PROJECT_BINARY_DIR}/boost-include/boost SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED GLOBAL)
target_include_directories(Boost::headers SYSTEM INTERFACE ${PROJECT_BINARY_DIR}/boost-include)

# The suites too slow under node for every ./dev test (binary128 is
# software arithmetic): labelled web-long, run by ./dev web-test.
set(QUORV_WEB_LONG_TESTS distrib_oracle_grid_test)

# Cases that test what WebAssembly under node does not have: threads, a
# C library whose locales change the decimal mark, and the host's named
# pipes, links, sparse files and killed processes as the file saving
# meets them (node's file system emulation reports them otherwise).
set(QUORV_WEB_SKIP_test_core
    FormatC.DecimalPointSurvivesALocaleWithADecimalComma:FormatC.FormatsTheSameOnSeveralThreads:TempFolder.PipesAreRefusedUnlessAskedForAndThenRead:TempFolder.AnOversizedFileIsRefusedBeforeItIsRead:TempFolder.ASaveNeverWritesThroughALinkUnlessAskedAndReplacesOnlyARegularFile:TempFolder.TheNextSaveRemovesTemporariesOfKilledSavesAndNothingElse)

# Under node's file system emulation a named pipe reads as an empty file,
# so the raw-data flow's refusal of a pipe cannot be met there.
set(QUORV_WEB_SKIP_test_worksheet_logic RawCompute.PipeIsRefusedWithoutWaiting)
set(QUORV_WEB_SKIP_test_batch BatchRunner.EngineNoticesAreCapturedPerThread)

# emscripten 3.1.6's binary128 division is wrong for some operands:
# 1 / (1 - 2^-113) gives 2 (3 / (1 - 2^-113) is right). The three-covariate
# raw example meets it in the regression's inverse (a correlation's
# diagonal of 1 - 2^-113) and its report is wrong from the regression on;
# until the division is replaced that case is left out here.
set(QUORV_WEB_SKIP_test_analysis RawAnalysis.ExamplesGiveTheDiagnosticLinesAndTheGoldenReport)
# Boost.Math's own long double route runs on the C library's double
# precision functions there and overflows in tgamma.
set(QUORV_WEB_SKIP_test_engine_oracle CompareTwoCasesOracle.AgreesWithAnIndependentRouteOnGeneratedInputs)

# quorv_add_test(name SOURCES ... LIBS ...): one suite, run whole by node.
function(quorv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE QUORV_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest)
  set(filter "")
  if(DEFINED QUORV_WEB_SKIP_${name})
    set(filter "--gtest_filter=-${QUORV_WEB_SKIP_${name}}")
  endif()
  add_test(NAME ${name} COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> ${filter})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QUORV_SOURCE_DIR=${PROJECT_SOURCE_DIR}" TIMEOUT 1800)
  if(name IN_LIST QUORV_WEB_LONG_TESTS)
    set_tests_properties(${name} PROPERTIES LABELS web-long)
  endif()
endfunction()

add_subdirectory(support)
foreach(sub core distrib matrix engine validation formats analysis report worksheet batch web)
  add_subdirectory(${sub})
endforeach()
