# Benchmark of the bit-level transforms: optimised, without sanitizers, run by hand (not a test).
add_executable(transform_bits_bench ${CMAKE_CURRENT_LIST_DIR}/transform_bits_bench.cpp
  ${CMAKE_SOURCE_DIR}/utility/cursor/transform_bits.cpp)
target_include_directories(transform_bits_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(transform_bits_bench PRIVATE -O2)
