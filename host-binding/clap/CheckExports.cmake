# Fails unless the library exports exactly one symbol, SYMBOL: the defined
# dynamic symbols (nm -D) of a Linux library, or the export table (objdump -p)
# of a Windows DLL. Hosts find a plug-in by that one name; anything else
# exported could clash with the host or another plug-in.
# Usage: cmake -DLISTER=<nm|objdump> -DLIBRARY=<file> -DSYMBOL=<name> -DWINDOWS=<bool> -P CheckExports.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT LISTER OR NOT LIBRARY OR NOT SYMBOL)
  message(FATAL_ERROR "usage: cmake -DLISTER=<tool> -DLIBRARY=<file> -DSYMBOL=<name> -DWINDOWS=<bool> -P CheckExports.cmake")
endif()

if(WINDOWS)
  execute_process(COMMAND "${LISTER}" -p "${LIBRARY}"
    OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE result)
  # The names follow the "[Ordinal/Name Pointer] Table" heading, one "[ n] name" per line.
  string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
  set(names "")
  if(NOT start EQUAL -1)
    string(SUBSTRING "${dump}" ${start} -1 table)
    string(REGEX MATCHALL "\n[\t ]*\\[ *[0-9]+\\] [^\r\n]+" entries "${table}")
    foreach(entry IN LISTS entries)
      string(REGEX REPLACE "^\n[\t ]*\\[ *[0-9]+\\] " "" name "${entry}")
      string(STRIP "${name}" name)
      list(APPEND names "${name}")
    endforeach()
  endif()
else()
  execute_process(COMMAND "${LISTER}" -D --defined-only "${LIBRARY}"
    OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE result)
  string(REGEX MATCHALL "[^\r\n]+" lines "${dump}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
    list(APPEND names "${name}")
  endforeach()
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${LISTER} failed on ${LIBRARY} (${result}): ${errors}")
endif()

if(NOT names STREQUAL "${SYMBOL}")
  list(JOIN names ", " namesText)
  message(FATAL_ERROR "${LIBRARY} should export ${SYMBOL} alone, but exports: ${namesText}")
endif()
