# The benchmarks of `make bench`: Google Benchmark over the program's library, release build.
option(LORVENNA_BENCH "Build the benchmarks" OFF)
if(LORVENNA_BENCH)
  find_package(benchmark REQUIRED)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  add_executable(lorvenna_bench ${BENCH_SOURCES})
  target_link_libraries(lorvenna_bench PRIVATE lorvenna_core benchmark::benchmark)
  target_compile_definitions(lorvenna_bench PRIVATE LORVENNA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
