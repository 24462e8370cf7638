# dz_add_test(name SOURCES a.cpp ... LIBS lib ...)
# One test executable is one ctest test: under Wine every process start costs about a second,
# so GoogleTest runs all cases of an executable in one process.
# Every test reads the program's clock set to DZ_TEST_CLOCK (local time), never the wall clock:
# the suite gives the same result at any hour, and can be run at another instant with
# -DDZ_TEST_CLOCK="yyyy-mm-dd hh:mm:ss". The programs a test starts inherit that clock.
# The executor's power-off notice counts down one second instead of thirty.
set(DZ_TEST_CLOCK "2026-12-08 07:30:00" CACHE STRING "The clock that the tests read")
function(dz_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "DZ_CLOCK=${DZ_TEST_CLOCK}")
  # A power-off that no test answers waits one second on its notice, not thirty.
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "DZ_POWER_OFF_NOTICE_SECONDS=1")
endfunction()

# Every direct subfolder that has a CMakeLists.txt joins the build, so areas can be added
# without touching a shared list.
function(dz_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/*")
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# A Windows program with a wide entry point (wWinMain or wmain).
function(dz_unicode_program target)
  target_link_options(${target} PRIVATE -municode)
endfunction()
