# Fails unless every DLL that the given Windows DLL imports is a system DLL,
# so that a host can load it with nothing else installed.
# Usage: cmake -DOBJDUMP=<objdump> -DDLL=<file.dll> -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT OBJDUMP OR NOT DLL)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=<objdump> -DDLL=<file.dll> -P CheckImports.cmake")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${DLL}"
  OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed (${result}): ${errors}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" entries "${dump}")
if(NOT entries)
  message(FATAL_ERROR "${DLL}: no import table found")
endif()

set(allowed kernel32.dll user32.dll gdi32.dll gdiplus.dll ole32.dll msvcrt.dll advapi32.dll
  shell32.dll comctl32.dll)
set(rejected "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^DLL Name: " "" name "${entry}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lowerName)
  if(NOT lowerName IN_LIST allowed AND NOT lowerName MATCHES "^api-ms-win-crt-.*\\.dll$")
    list(APPEND rejected "${name}")
  endif()
endforeach()

if(rejected)
  list(JOIN rejected ", " rejectedText)
  message(FATAL_ERROR "${DLL} imports non-system DLLs: ${rejectedText}")
endif()
