# One static library per folder of sources, or per set of sub-folders; one test program
# per tests/ folder, or per set of them. Sources are collected from the folders, so adding
# a file needs no edit here.

# kv_sources(VAR PATTERNS DIR...): the files matching PATTERNS in each DIR.
function(kv_sources var patterns)
  set(_src)
  foreach(dir ${ARGN})
    list(TRANSFORM patterns PREPEND ${dir}/ OUTPUT_VARIABLE _globs)
    file(GLOB _dir_src CONFIGURE_DEPENDS ${_globs})
    list(APPEND _src ${_dir_src})
  endforeach()
  set(${var} ${_src} PARENT_SCOPE)
endfunction()

# kv_library(NAME DIR... [DEPS targets...])
function(kv_library name)
  cmake_parse_arguments(KV "" "" "DEPS" ${ARGN})
  kv_sources(_src "*.cpp;*.c" ${KV_UNPARSED_ARGUMENTS})
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

# kv_tests(NAME DIR... [DEPS targets...])
# Builds each DIR/*.cpp into NAME.exe with GoogleTest and registers it with CTest under Wine.
function(kv_tests name)
  cmake_parse_arguments(KV "" "" "DEPS" ${ARGN})
  kv_sources(_src "*.cpp" ${KV_UNPARSED_ARGUMENTS})
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE ${KV_DEPS} gmock kv_test_support)
  # GCC 12 misreads inlined std::string and small-vector copies in test bodies.
  target_compile_options(${name} PRIVATE -Wno-restrict -Wno-array-bounds -Wno-stringop-overread)
  kv_add_wine_test(${name} ${name})
endfunction()
