# The artwork library is a host tool, not part of the programs: its test links it in.
target_link_libraries(imagelib_test PRIVATE imagelib)
