# The cursor-file reader: its test writes good files with the artwork tools' writers and reads
# the library that cursorgen draws.
target_link_libraries(cursor_file_test PRIVATE imagelib)
set_tests_properties(native.cursor_file_test PROPERTIES FIXTURES_REQUIRED cursor_art)
# It also writes its table's files where the fuzzer takes its seeds from.
set_tests_properties(native.cursor_file_test PROPERTIES
  ENVIRONMENT "CURSOR_ART_DIR=${cursor_art_dir};FUZZ_SEED_DIR=${CMAKE_BINARY_DIR}/fuzz-seeds")
set_tests_properties(native.cursor_file_test PROPERTIES FIXTURES_SETUP cursor_file_seeds)
# The mirror's test compares with files its writers make from mirrored pictures.
target_link_libraries(cursor_file_mirror_test PRIVATE imagelib)
