# kv_build_external(NAME SOURCE BUILD PREFIX PRODUCT [ARGS...]): configures SOURCE with this
# build's toolchain into BUILD, builds and installs it into PREFIX at configure time, and
# stops when PREFIX/PRODUCT did not come out of it. For what we build from Debian's source
# packages, which never enter the repository.
function(kv_build_external name source build prefix product)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${build} -G Ninja -Wno-dev
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_INSTALL_PREFIX=${prefix} ${ARGN}
    RESULT_VARIABLE _rc OUTPUT_QUIET)
  if(_rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} --target install
                    RESULT_VARIABLE _rc OUTPUT_QUIET)
  endif()
  if(NOT _rc EQUAL 0 OR NOT EXISTS ${prefix}/${product})
    message(FATAL_ERROR "Building ${name} failed")
  endif()
endfunction()
