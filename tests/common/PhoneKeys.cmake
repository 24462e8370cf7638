# Tests that press the phone's keys into the running program (PhoneKeys.h).
#   dz_phone_keys_test(name SOURCES a.cpp ...)
# The program's code and resources are linked in, its shipped local.dat and help.html lie
# beside the test as beside the installed program, times are 12-hour (en_US) so AM/PM is set
# by keys too, and the test runs alone: the keys go to whichever window is in the foreground.
# The keys need the window system, so such tests exist in the Windows build only.
if(WIN32)
  add_library(dz_phonekeys STATIC ${CMAKE_CURRENT_LIST_DIR}/PhoneKeys.cpp)
  target_link_libraries(dz_phonekeys PUBLIC dz_app GTest::gtest)
endif()

function(dz_phone_keys_test name)
  cmake_parse_arguments(T "" "" "SOURCES" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  dz_add_test(${name} SOURCES ${T_SOURCES} ${DZ_APP_RESOURCES} LIBS dz_phonekeys)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/ui/resources)
  foreach(file local.dat help.html help.German.html)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/ui/resources/${file}
              $<TARGET_FILE_DIR:${name}>)
  endforeach()
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE RESOURCE_LOCK dz_engine)
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "LANG=en_US.UTF-8;LC_ALL=en_US.UTF-8")
endfunction()
