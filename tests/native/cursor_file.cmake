# The cursor-file reader: its test writes good files with the artwork tools' writers and reads
# the library that cursorgen draws.
target_link_libraries(cursor_file_test PRIVATE imagelib)
target_compile_definitions(cursor_file_test PRIVATE CURSOR_ART_DIR="${cursor_art_dir}")
set_tests_properties(native.cursor_file_test PROPERTIES FIXTURES_REQUIRED cursor_art)
