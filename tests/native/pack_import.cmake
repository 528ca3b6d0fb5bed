# The cursor-pack import: the deflate and zip tests pack their inputs with zlib; the readers'
# tests leave their tables where the fuzzers take their seeds from.
find_package(ZLIB REQUIRED)
foreach(test inflate_test zip_reader_test pack_plan_test)
  target_link_libraries(${test} PRIVATE ZLIB::ZLIB)
endforeach()
foreach(test inflate_test zip_reader_test pack_inf_test pack_theme_test pack_plan_test scheme_file_test)
  # Named at run time, not compiled in: the objects stay the same in every clone (compiler cache).
  set_property(TEST native.${test} APPEND PROPERTY ENVIRONMENT POINTREL_PACK_SEEDS=${CMAKE_BINARY_DIR}/pack-seeds)
  set_tests_properties(native.${test} PROPERTIES FIXTURES_SETUP pack_seeds)
endforeach()
