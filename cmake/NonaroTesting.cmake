# Test names carry the build they come from (native, asan, win), so that one
# CTest run over all three builds tells them apart.
set(NONARO_TEST_PREFIX "native" CACHE STRING "Prefix of this build's test names")

# nonaro_add_gtest(<name> SOURCES <files...> LIBRARIES <targets...> [TIMEOUT <s>])
# Builds a GoogleTest program and registers it as one CTest test. In the
# Windows build CTest runs it under Wine through the cross-compiling emulator.
function(nonaro_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} gtest gtest_main)
  add_test(NAME ${NONARO_TEST_PREFIX}.${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${NONARO_TEST_PREFIX}.${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
