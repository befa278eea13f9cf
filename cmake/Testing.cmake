# GoogleTest: Debian's package natively; for the mingw targets the same
# sources (/usr/src/googletest) compiled with the cross compiler.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Every test executable that runs threads: the linux-tsan preset builds this
# target and runs the tests labelled "threads" under ThreadSanitizer.
add_custom_target(ThreadTests)

# ombrix_add_test(name [THREADS] SOURCES ... LIBS ... [PROPERTIES prop value ...])
# Natively every test case becomes a ctest entry; under Wine a whole
# executable is one entry, because each Wine start costs about a second.
# THREADS marks an executable whose tests run threads (see ThreadTests).
function(ombrix_add_test name)
  cmake_parse_arguments(ARG "THREADS" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  if(ARG_THREADS)
    add_dependencies(ThreadTests ${name})
    list(APPEND ARG_PROPERTIES LABELS threads)
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_PROPERTIES)
      set_tests_properties(${name} PROPERTIES ${ARG_PROPERTIES})
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
  endif()
endfunction()
