# zlib, libjpeg (6b interface) and GoogleTest, all static, all built for the target.
include(${CMAKE_CURRENT_LIST_DIR}/ExternalBuild.cmake)

# zlib from Debian's MinGW package.
find_path(ZLIB_INCLUDE zlib.h REQUIRED)
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(zlib_static STATIC IMPORTED GLOBAL)
set_target_properties(zlib_static PROPERTIES
  IMPORTED_LOCATION ${ZLIB_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${ZLIB_INCLUDE})

# libjpeg-turbo from Debian's source package, built once per build tree at configure time.
# Its source stays in the build tree and is never committed. Its SIMD code (assembled by nasm)
# roughly halves decode time; a tree built with other options is rebuilt.
set(JPEG_ROOT ${CMAKE_BINARY_DIR}/_deps/jpeg)
set(JPEG_PREFIX ${JPEG_ROOT}/install)
set(JPEG_OPTIONS -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
                 -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF)
set(JPEG_STAMP ${JPEG_PREFIX}/options.txt)
set(_jpeg_built_with "")
if(EXISTS ${JPEG_STAMP})
  file(READ ${JPEG_STAMP} _jpeg_built_with)
endif()
if(NOT EXISTS ${JPEG_PREFIX}/lib/libjpeg.a OR NOT _jpeg_built_with STREQUAL "${JPEG_OPTIONS}")
  find_program(NASM nasm)
  if(NOT NASM)
    message(FATAL_ERROR "libjpeg-turbo's SIMD code needs nasm: run scripts/install-deps")
  endif()
  file(REMOVE_RECURSE ${JPEG_ROOT}/build ${JPEG_PREFIX})
  file(MAKE_DIRECTORY ${JPEG_ROOT}/download)
  file(GLOB _jpeg_src LIST_DIRECTORIES true ${JPEG_ROOT}/download/libjpeg-turbo-*)
  if(NOT _jpeg_src)
    message(STATUS "Fetching libjpeg-turbo's Debian source package")
    execute_process(COMMAND apt-get source -qq libjpeg-turbo
                    WORKING_DIRECTORY ${JPEG_ROOT}/download
                    RESULT_VARIABLE _rc OUTPUT_QUIET)
    file(GLOB _jpeg_src LIST_DIRECTORIES true ${JPEG_ROOT}/download/libjpeg-turbo-*)
    list(FILTER _jpeg_src EXCLUDE REGEX "\\.(dsc|tar\\..*|asc)$")
    if(NOT _rc EQUAL 0 OR NOT _jpeg_src)
      message(FATAL_ERROR "Could not fetch libjpeg-turbo's source: run scripts/install-deps (it adds apt's deb-src entry)")
    endif()
  endif()
  list(FILTER _jpeg_src EXCLUDE REGEX "\\.(dsc|tar\\..*|asc)$")
  list(GET _jpeg_src 0 _jpeg_src)
  message(STATUS "Building libjpeg from ${_jpeg_src}")
  kv_build_external(libjpeg ${_jpeg_src} ${JPEG_ROOT}/build ${JPEG_PREFIX} lib/libjpeg.a
                    ${JPEG_OPTIONS} -DCMAKE_ASM_NASM_COMPILER=${NASM} -DCMAKE_C_FLAGS=-O2)
  file(WRITE ${JPEG_STAMP} "${JPEG_OPTIONS}")
endif()
add_library(jpeg_static STATIC IMPORTED GLOBAL)
set_target_properties(jpeg_static PROPERTIES
  IMPORTED_LOCATION ${JPEG_PREFIX}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${JPEG_PREFIX}/include)

# GoogleTest from Debian's googletest sources.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
