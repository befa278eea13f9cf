# mingw-w64 cross compilers with posix threads. MINGW_PROCESSOR, set by the
# presets, chooses the target: i686 (32-bit) or x86_64 (64-bit).
if(NOT MINGW_PROCESSOR)
  set(MINGW_PROCESSOR i686)
endif()
set(triplet ${MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
