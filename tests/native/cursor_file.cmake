# The cursor-file reader: its test writes good files with the artwork tools' writers and reads
# the library that cursorgen draws.
target_link_libraries(cursor_file_test PRIVATE imagelib)
target_compile_definitions(cursor_file_test PRIVATE CURSOR_ART_DIR="${cursor_art_dir}")
set_tests_properties(native.cursor_file_test PROPERTIES FIXTURES_REQUIRED cursor_art)
# It also writes its table's files where the fuzzer takes its seeds from.
target_compile_definitions(cursor_file_test PRIVATE FUZZ_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds")
set_tests_properties(native.cursor_file_test PROPERTIES FIXTURES_SETUP cursor_file_seeds)
