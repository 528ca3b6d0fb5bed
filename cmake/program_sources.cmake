# The sources of one program's folder, split by name: `*_win.cpp` are its Win32 shells, every
# other .cpp is platform-free; program_win.cpp holds the program's entry objects and is in
# neither list. GLOB_MODE is GLOB or GLOB_RECURSE.
function(program_sources glob_mode folder free_out win_out)
  file(${glob_mode} all CONFIGURE_DEPENDS ${folder}/*.cpp)
  set(free ${all})
  list(FILTER free EXCLUDE REGEX "_win\\.cpp$")
  set(win ${all})
  list(FILTER win INCLUDE REGEX "_win\\.cpp$")
  list(FILTER win EXCLUDE REGEX "/program_win\\.cpp$")
  set(${free_out} ${free} PARENT_SCOPE)
  set(${win_out} ${win} PARENT_SCOPE)
endfunction()

# A shipped program's link map beside it (bin/NAME.map), where the size check reads what each
# library puts into it.
function(program_link_map target)
  target_link_options(${target} PRIVATE "-Wl,-Map=$<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.map")
endfunction()

# Code that goes into a shipped program is compiled without exceptions and RTTI
# (PROGRAM_COMPILE_OPTIONS of the cross build); the test programs that link it keep both.
function(program_code target)
  if(CMAKE_CROSSCOMPILING)
    target_compile_options(${target} PRIVATE ${PROGRAM_COMPILE_OPTIONS})
  endif()
endfunction()
