# Native: command-line host, tests, benchmarks.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GW_HOSTLIBS REQUIRED IMPORTED_TARGET libpng freetype2 fontconfig libwebp libwebpmux libwebpdemux)
find_package(GIF REQUIRED)

# The core's native backends: the FreeType letter rasteriser, threads.
find_package(Threads REQUIRED)
target_link_libraries(gwcore PUBLIC PkgConfig::GW_HOSTLIBS Threads::Threads)

# The command line's code is compiled once: the program and the tests link it.
file(GLOB GW_CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cli/*.cpp)
list(FILTER GW_CLI_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(gwcli STATIC ${GW_CLI_SOURCES})
target_link_libraries(gwcli PUBLIC gwcore GIF::GIF)
add_executable(glyphwright ${CMAKE_SOURCE_DIR}/cli/main.cpp)
target_link_libraries(glyphwright PRIVATE gwcli)
set_target_properties(glyphwright PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/cli)

# Makes the shipped texture and tile groups (scripts/make_shipped_groups.sh).
add_executable(gw_make_groups ${CMAKE_SOURCE_DIR}/scripts/make_shipped_groups.cpp)
target_link_libraries(gw_make_groups PRIVATE gwcli)

option(GW_BUILD_TESTS "Build the native tests" ON)
if(GW_BUILD_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB GW_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
  # The fuzz harnesses join the suite, which replays their seeds and reproducers.
  file(GLOB GW_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  list(APPEND GW_TEST_SOURCES ${GW_FUZZ_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_support.cpp)
  add_executable(gw_tests ${GW_TEST_SOURCES})
  target_link_libraries(gw_tests PRIVATE gwcli GTest::gtest GTest::gtest_main)
  target_compile_definitions(gw_tests PRIVATE GW_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                              GW_CLI_PATH="$<TARGET_FILE:glyphwright>")
  add_dependencies(gw_tests glyphwright)
  gtest_discover_tests(gw_tests DISCOVERY_TIMEOUT 60)

  # Memory and time ceilings on hostile command lines, checked by the system
  # (ulimit -v, timeout) rather than timed inside a test.
  # A sanitizer build reserves terabytes of address space for its shadow
  # memory, which no `ulimit -v` admits: the ceilings are the normal build's.
  if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize=address")
    add_test(NAME hostile_limits COMMAND ${CMAKE_SOURCE_DIR}/tests/hostile_limits.sh $<TARGET_FILE:glyphwright>)
  endif()

  add_executable(gw_fuzz_corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/make_corpus.cpp)
  target_link_libraries(gw_fuzz_corpus PRIVATE gwcli)
endif()

# libFuzzer harnesses (clang only): scripts/fuzz.sh configures a build with
# -DGW_BUILD_FUZZ=ON and the sanitizers in CMAKE_CXX_FLAGS.
option(GW_BUILD_FUZZ "Build the libFuzzer harnesses" OFF)
if(GW_BUILD_FUZZ)
  file(GLOB GW_FUZZ_HARNESSES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${GW_FUZZ_HARNESSES})
    get_filename_component(group ${src} NAME_WE)
    # Each file may hold several harnesses; one program per harness.
    file(STRINGS ${src} targets REGEX "^GW_FUZZ_TARGET\\(")
    foreach(line ${targets})
      string(REGEX REPLACE "^GW_FUZZ_TARGET\\(([a-z_0-9]+)\\).*" "\\1" name "${line}")
      add_executable(fuzz_${name} ${src} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_support.cpp)
      target_compile_definitions(fuzz_${name} PRIVATE GW_FUZZ_MAIN GW_FUZZ_NAME="${name}")
      target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
      target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
      target_link_libraries(fuzz_${name} PRIVATE gwcli)
    endforeach()
  endforeach()
endif()

option(GW_BUILD_BENCH "Build the benchmarks" OFF)
if(GW_BUILD_BENCH)
  find_package(benchmark REQUIRED)
  file(GLOB GW_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  foreach(src ${GW_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    # gwcli carries gwcore, and the GIF coder that gif_lzw_bench measures.
    target_link_libraries(${name} PRIVATE gwcli benchmark::benchmark benchmark::benchmark_main)
    target_compile_definitions(${name} PRIVATE GW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
