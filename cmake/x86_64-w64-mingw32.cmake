# The same sources as PE32+ programs, for machines that do not run 32-bit x86 code: tested there
# under wine64 (WINEARCH=win64). Ships nowhere.
set(MINGW_PROCESSOR x86_64)
set(WINE_ARCH win64 CACHE STRING "the Wine prefix architecture that runs this build's programs")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
