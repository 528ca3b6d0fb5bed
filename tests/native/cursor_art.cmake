# The library cursors: cursorgen draws them into the build folder, then cursor_art_test checks
# the files (with ImageMagick's identify as an independent reader) and their looks.
set(cursor_art_dir ${CMAKE_BINARY_DIR}/cursor-art)
add_test(NAME native.cursor_art.draw COMMAND cursorgen ${cursor_art_dir})
set_tests_properties(native.cursor_art.draw PROPERTIES FIXTURES_SETUP cursor_art)
set_tests_properties(native.cursor_art_test PROPERTIES ENVIRONMENT "CURSOR_ART_DIR=${cursor_art_dir}")
set_tests_properties(native.cursor_art_test PROPERTIES FIXTURES_REQUIRED cursor_art)
