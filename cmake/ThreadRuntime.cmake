# The posix-threads run-time that std::thread and std::mutex stand on, rebuilt for Windows XP
# from Debian's mingw-w64 source package once per build tree at configure time, and linked in
# place of the system copy (which needs Vista). Its source stays in the build tree.
include(${CMAKE_CURRENT_LIST_DIR}/ExternalBuild.cmake)

set(PTHREAD_ROOT ${CMAKE_BINARY_DIR}/_deps/winpthreads)
set(PTHREAD_PREFIX ${PTHREAD_ROOT}/install)
if(NOT EXISTS ${PTHREAD_PREFIX}/lib/libpthread.a)
  file(MAKE_DIRECTORY ${PTHREAD_ROOT}/download)
  file(GLOB _pthread_src LIST_DIRECTORIES true
       ${PTHREAD_ROOT}/download/mingw-w64-*/mingw-w64-libraries/winpthreads)
  if(NOT _pthread_src)
    message(STATUS "Fetching mingw-w64's Debian source package for winpthreads")
    execute_process(COMMAND apt-get source --download-only -qq mingw-w64
                    WORKING_DIRECTORY ${PTHREAD_ROOT}/download
                    RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    file(GLOB _pthread_tar ${PTHREAD_ROOT}/download/mingw-w64_*.orig.tar.*)
    list(FILTER _pthread_tar EXCLUDE REGEX "\\.asc$")
    if(_rc EQUAL 0 AND _pthread_tar)
      # Only the run-time's folder is needed from the toolchain's whole source; Debian's
      # patches leave that folder alone, so the upstream tarball is its source as packaged.
      execute_process(COMMAND tar -xf ${_pthread_tar} --wildcards */mingw-w64-libraries/winpthreads
                      WORKING_DIRECTORY ${PTHREAD_ROOT}/download RESULT_VARIABLE _rc)
    endif()
    file(GLOB _pthread_src LIST_DIRECTORIES true
         ${PTHREAD_ROOT}/download/mingw-w64-*/mingw-w64-libraries/winpthreads)
    if(NOT _rc EQUAL 0 OR NOT _pthread_src)
      message(FATAL_ERROR "Could not fetch mingw-w64's source: run scripts/install-deps (it adds apt's deb-src entry)")
    endif()
  endif()
  message(STATUS "Building winpthreads for XP from ${_pthread_src}")
  kv_build_external(winpthreads ${CMAKE_CURRENT_LIST_DIR}/winpthreads ${PTHREAD_ROOT}/build ${PTHREAD_PREFIX}
                    lib/libpthread.a -DWINPTHREADS_SOURCE=${_pthread_src})
endif()
# Searched before the toolchain's own folder, so GCC's implicit -lpthread finds this copy.
add_link_options(-L${PTHREAD_PREFIX}/lib)
