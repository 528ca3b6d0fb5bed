# The product: PE32 programs for 32-bit Windows, tested under Wine's 32-bit loader (WINEARCH=win32).
set(MINGW_PROCESSOR i686)
set(WINE_ARCH win32 CACHE STRING "the Wine prefix architecture that runs this build's programs")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
