# The copy worker's protocol again under ThreadSanitizer. wendset_core carries AddressSanitizer,
# which cannot be linked with it, so the installer's platform-free sources build in afresh.
program_sources(GLOB ${CMAKE_SOURCE_DIR}/installer installer_tsan_sources installer_tsan_unused)
add_executable(copy_worker_tsan ${CMAKE_CURRENT_SOURCE_DIR}/copy_worker_test.cpp ${installer_tsan_sources}
  ${CMAKE_SOURCE_DIR}/utility/records/settings_location.cpp)
target_include_directories(copy_worker_tsan PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(copy_worker_tsan PRIVATE GTest::gtest_main sanitize_thread)
add_test(NAME native.copy_worker_tsan COMMAND copy_worker_tsan)
set_tests_properties(native.copy_worker_tsan PROPERTIES TIMEOUT 300 ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1")

# The installer's artwork generator (a host tool; it renders its lettering with ImageMagick).
add_executable(installerart_test ${CMAKE_CURRENT_SOURCE_DIR}/installerart.cpp
  ${CMAKE_SOURCE_DIR}/tools/installerart/artwork.cpp ${CMAKE_SOURCE_DIR}/tools/installerart/lettering.cpp)
target_include_directories(installerart_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(installerart_test PRIVATE imagelib GTest::gtest_main sanitize_address)
target_compile_definitions(installerart_test PRIVATE ${IMAGEMAGICK_DEFINITION})
add_test(NAME native.installerart_test COMMAND installerart_test)
