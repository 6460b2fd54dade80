# One static library per folder of sources; one test program per tests/ folder.
# Sources are collected from the folder, so adding a file needs no edit here.

# kv_library(NAME DIR [DEPS targets...])
function(kv_library name dir)
  cmake_parse_arguments(KV "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  if(NOT _src)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${KV_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${KV_DEPS})
endfunction()

# kv_tests(NAME DIR [DEPS targets...])
# Builds DIR/*.cpp into NAME.exe with GoogleTest and registers it with CTest under Wine.
function(kv_tests name dir)
  cmake_parse_arguments(KV "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE ${KV_DEPS} gmock kv_test_support)
  # GCC 12 misreads inlined std::string and small-vector copies in test bodies.
  target_compile_options(${name} PRIVATE -Wno-restrict -Wno-array-bounds -Wno-stringop-overread)
  kv_add_wine_test(${name} ${name})
endfunction()
