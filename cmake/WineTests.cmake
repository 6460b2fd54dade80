# Every test program runs under Wine in this build tree's own prefix (<build>/wine).
# A fixture makes the prefix and starts one persistent wineserver before the tests
# and stops it after them.
set(KV_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run)
set(KV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)

# Wine reads drive types when its server starts, so the fixture sets every drive any
# test maps before the tests run; it is added once all tests are known.
function(kv_add_wine_start)
  get_property(_drives GLOBAL PROPERTY KV_WINE_DRIVES)
  set(_opts --prefix ${KV_WINE_PREFIX})
  foreach(d ${_drives})
    list(APPEND _opts --drive ${d})
  endforeach()
  add_test(NAME wine_start COMMAND ${KV_WINE_RUN} ${_opts} --start
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
  # The tests' drives go again afterwards, and those of the program come back.
  add_test(NAME wine_stop COMMAND ${KV_WINE_RUN} ${_opts} --stop)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kv_add_wine_start)

# kv_add_wine_test(TESTNAME TARGET [DRIVES X=image:type...] [VERSION winxp|win98|...] [ARGS...])
# Drive images are given relative to the build tree; the test itself may create them,
# since the drive letter is only a link to the image's path.
function(kv_add_wine_test test target)
  cmake_parse_arguments(KV "" "VERSION" "DRIVES;ARGS" ${ARGN})
  set(_opts --prefix ${KV_WINE_PREFIX})
  foreach(d ${KV_DRIVES})
    list(APPEND _opts --drive ${d})
    set_property(GLOBAL APPEND PROPERTY KV_WINE_DRIVES ${d})
  endforeach()
  if(KV_VERSION)
    list(APPEND _opts --version ${KV_VERSION})
  endif()
  add_test(NAME ${test} COMMAND ${KV_WINE_RUN} ${_opts} -- $<TARGET_FILE:${target}> ${KV_ARGS}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # A hung test must not hold up the whole run.
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
endfunction()
