# Benchmark of the explode-layers pipeline on generated large scores:
# include(${CMAKE_CURRENT_SOURCE_DIR}/musicxml.cmake) from bench/CMakeLists.txt.
if(TARGET tonaromusicxml AND TARGET zkexplodelayers)
  find_package(benchmark REQUIRED)
  add_executable(musicxml_bench ${CMAKE_CURRENT_LIST_DIR}/musicxml_bench.cpp)
  target_include_directories(musicxml_bench PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(musicxml_bench PRIVATE tonaromusicxml simhost benchmark::benchmark ${CMAKE_DL_LIBS} zk_warnings)
  target_compile_definitions(musicxml_bench PRIVATE ZK_BENCH_PLUGIN="$<TARGET_FILE:zkexplodelayers>")
  add_dependencies(musicxml_bench zkexplodelayers)
endif()
