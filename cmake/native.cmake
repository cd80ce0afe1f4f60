# Native build: the portable core only.
# clang-tidy reads the compile commands of the targets defined below.
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The core with sanitizers, for the tests.
add_library(core_checked STATIC ${TAVELIN_CORE_SOURCES})
tavelin_flags(core_checked)
target_compile_options(core_checked PUBLIC ${SANITIZE})
target_link_options(core_checked PUBLIC ${SANITIZE})

# The core optimised, for the benchmark.
add_library(core_fast STATIC ${TAVELIN_CORE_SOURCES})
tavelin_flags(core_fast)
target_compile_options(core_fast PRIVATE -O2)

# The engine and util again with the vector paths turned off (see
# engine/word_scan.h): the eight-byte loops that a processor without SSE2
# takes, which the build above reaches only in a block's last bytes. The
# engine's tests run against both, each fast path against the plain
# byte-by-byte one.
set(TAVELIN_ENGINE_SOURCES ${TAVELIN_CORE_SOURCES})
list(FILTER TAVELIN_ENGINE_SOURCES INCLUDE REGEX "/(util|engine)/[^/]+$")
add_library(core_plain STATIC ${TAVELIN_ENGINE_SOURCES})
tavelin_flags(core_plain)
target_compile_definitions(core_plain PUBLIC TAVELIN_PLAIN_LOOPS)
target_compile_options(core_plain PUBLIC ${SANITIZE})
target_link_options(core_plain PUBLIC ${SANITIZE})
set(PLAIN_LOOP_TESTS byte_stream_test conversion_test detect_test iconv_exactness_test samples_test
                     utf8_test utf8_transcode_test word_scan_test)

# native_test NAME SOURCE CORE: one test program, registered with ctest.
function(native_test name src core)
  add_executable(${name} ${src})
  tavelin_flags(${name})
  target_link_libraries(${name} PRIVATE ${core} gtest_main)
  # samples_test reads the samples where they are.
  target_compile_definitions(${name} PRIVATE TAVELIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  string(REPLACE "native_" "native." test ${name})
  add_test(NAME ${test} COMMAND ${name})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
foreach(src ${NATIVE_TESTS})
  get_filename_component(name ${src} NAME_WE)
  native_test(native_${name} ${src} core_checked)
  if(name IN_LIST PLAIN_LOOP_TESTS)
    native_test(native_plain_${name} ${src} core_plain)
  endif()
endforeach()

# Fuzz targets need clang's libFuzzer.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(FUZZ -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_library(core_fuzz STATIC ${TAVELIN_CORE_SOURCES})
  tavelin_flags(core_fuzz)
  target_compile_options(core_fuzz PUBLIC ${FUZZ})
  file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  # The fuzz targets alone: the rest of this build is the native one again.
  add_custom_target(fuzz_targets)
  foreach(src ${FUZZ_TARGETS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    tavelin_flags(${name})
    target_link_libraries(${name} PRIVATE core_fuzz)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    add_dependencies(fuzz_targets ${name})
  endforeach()
endif()

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(BENCH_SOURCES)
  add_executable(tavelin_bench ${BENCH_SOURCES})
  tavelin_flags(tavelin_bench)
  target_compile_options(tavelin_bench PRIVATE -O2)
  target_link_libraries(tavelin_bench PRIVATE core_fast)
endif()

# clang-tidy's bugprone checks over the portable core (.clang-tidy at the root
# holds the checks). The compile database it starts from covers the targets
# defined in this file, not GoogleTest.
find_program(CLANG_TIDY NAMES clang-tidy clang-tidy-14)
string(REPLACE ";" "\n" TIDY_SOURCES "${TAVELIN_CORE_SOURCES}")
file(WRITE ${CMAKE_BINARY_DIR}/clang-tidy-sources.txt "${TIDY_SOURCES}\n")
add_test(NAME native.clang_tidy
         COMMAND ${CMAKE_COMMAND} -DCLANG_TIDY=${CLANG_TIDY} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                 -DSOURCE_LIST=${CMAKE_BINARY_DIR}/clang-tidy-sources.txt
                 -P ${CMAKE_SOURCE_DIR}/cmake/clang_tidy.cmake)
