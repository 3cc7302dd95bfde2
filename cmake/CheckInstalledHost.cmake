# Run by CTest: installs the build into a temporary prefix and builds hosts against that package alone
# (as a stranger's project would): the examples through find_package(Corvane), the README's host through
# pkg-config with GCC and again with clang, each run and its version checked against the project's.
# It also checks the installed files a host relies on (versioned shared libraries, headers without
# non-ASCII literals, a pkg-config line that forces no flag) and that a host configures without Qt 6.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSANITIZE=ON|OFF -DVERSION=x.y.z [-DCCACHE=...]
#         -P CheckInstalledHost.cmake
set(work ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/run)
set(prefix ${work}/prefix)

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

# Runs a built hello_map in an empty folder; it must print the project's version and the layer name it
# gave in UTF-8, converted to GBK and back (a host whose text went in unconverted prints it garbled).
function(run_hello what program)
  set(dir ${work}/run/${what})
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${prefix}/lib" ${ARGN} ${program}
                  WORKING_DIRECTORY ${dir} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message(STATUS "${what}: ${out}")
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^Corvane ${VERSION}: layer 湖泊, 5 objects loaded, picture hello.png")
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  foreach(f hello.map lakes.LYR hello.png)
    if(NOT EXISTS ${dir}/${f})
      message(FATAL_ERROR "${what} wrote no ${f}")
    endif()
  endforeach()
endfunction()

# The README's example is the file itself, byte for byte.
file(READ ${SOURCE_DIR}/README.md readme)
file(READ ${SOURCE_DIR}/examples/hello_map/hello_map.cpp hello)
string(FIND "${readme}" "${hello}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show examples/hello_map/hello_map.cpp as it is")
endif()

run_step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# Every installed library carries the version in its file name and its SONAME the major version.
string(REGEX MATCH "^[0-9]+" major "${VERSION}")
file(GLOB libs RELATIVE ${prefix}/lib ${prefix}/lib/*.so)
if(NOT libs)
  message(FATAL_ERROR "no shared library installed in ${prefix}/lib")
endif()
foreach(lib ${libs})
  if(NOT EXISTS ${prefix}/lib/${lib}.${VERSION} OR NOT EXISTS ${prefix}/lib/${lib}.${major})
    message(FATAL_ERROR "${lib} is installed without ${lib}.${VERSION} and ${lib}.${major}")
  endif()
endforeach()
find_program(READELF readelf)
if(READELF)
  execute_process(COMMAND ${READELF} -d ${prefix}/lib/libCorvane.so OUTPUT_VARIABLE dyn)
  if(NOT dyn MATCHES "soname: \\[libCorvane\\.so\\.${major}\\]")
    message(FATAL_ERROR "libCorvane.so has no versioned SONAME:\n${dyn}")
  endif()
endif()

# The installed headers as a host gets them (the generated version header among them).
if(NOT EXISTS ${prefix}/include/corvane/core/CorvaneVersion.h)
  message(FATAL_ERROR "core/CorvaneVersion.h is not installed")
endif()
find_program(PYTHON3 python3 REQUIRED)
run_step("no non-ASCII literal in an installed header"
         ${PYTHON3} ${SOURCE_DIR}/scripts/gbk-escape.py --check ${prefix}/include)

# A sanitized library needs a sanitized host; a Release install needs nothing but the package.
set(flags "")
set(san "")
if(SANITIZE)
  set(san -fsanitize=address,undefined)
  set(flags -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()
if(CCACHE)
  list(APPEND flags -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE})
endif()
run_step("configure the examples" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${work}/examples
         -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Debug ${flags})
run_step("build the examples" ${CMAKE_COMMAND} --build ${work}/examples -j 2)
run_hello("hello_map (CMake)" ${work}/examples/hello_map)

# A machine without Qt 6's development files: the examples still configure (the screen host is left
# out), and only a host that requires the Screen component is refused, saying why.
run_step("configure the examples without Qt 6" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${work}/examples-noqt
         -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON)
file(WRITE ${work}/screen-host/CMakeLists.txt "cmake_minimum_required(VERSION 3.16)
project(ScreenHost NONE)
find_package(Corvane REQUIRED COMPONENTS Screen)
")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${work}/screen-host -B ${work}/screen-host/build
                        -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "Corvane component Screen: (Qt 6 Widgets|this package was built without Qt 6)")
  message(FATAL_ERROR "a host requiring Screen without Qt 6 was not refused as it should be (${rc}):\n${out}\n${err}")
endif()
message(STATUS "a host requiring Screen without Qt 6 is refused: ok")

# pkg-config: a compile line that states where things are and forces no standard or character set, so a
# C++20 host stays C++20; built by GCC, and by clang, which has no -fexec-charset at all.
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB pcdirs ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
string(REPLACE ";" ":" pcpath "${pcdirs}")
set(ENV{PKG_CONFIG_PATH} "${pcpath}")
execute_process(COMMAND ${PKG_CONFIG} --modversion corvane OUTPUT_VARIABLE pcversion OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs corvane RESULT_VARIABLE rc OUTPUT_VARIABLE line
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT pcversion STREQUAL VERSION OR line MATCHES "-std=|-fexec-charset"
   OR NOT line MATCHES "-lcorvane_afx")
  message(FATAL_ERROR "pkg-config corvane ${pcversion}: ${line}")
endif()
separate_arguments(args UNIX_COMMAND "${line}")
run_step("compile with pkg-config (C++20)" c++ -std=c++20 ${san} ${SOURCE_DIR}/examples/hello_map/hello_map.cpp ${args}
         -o ${work}/hello_map_pc)
run_hello("hello_map (pkg-config)" ${work}/hello_map_pc)

find_program(CLANGXX clang++ REQUIRED)
run_step("compile with clang" ${CLANGXX} -std=c++17 -Wall -Wextra ${SOURCE_DIR}/examples/hello_map/hello_map.cpp ${args}
         -o ${work}/hello_map_clang)
# clang's program is not sanitized; a sanitized library then needs GCC's sanitizer run time loaded first.
set(preload "")
if(SANITIZE)
  execute_process(COMMAND c++ -print-file-name=libasan.so OUTPUT_VARIABLE asan OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(preload "LD_PRELOAD=${asan}")
endif()
run_hello("hello_map (clang)" ${work}/hello_map_clang ${preload})
