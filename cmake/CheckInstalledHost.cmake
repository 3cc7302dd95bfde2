# Run by CTest: installs the build into a temporary prefix, builds the example hosts against that
# package alone (as a stranger's project would), runs the README's host, and checks that the README
# shows that host's code as it is.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSANITIZE=ON|OFF [-DCCACHE=...] -P CheckInstalledHost.cmake
set(work ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/run)

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

# The README's example is the file itself, byte for byte.
file(READ ${SOURCE_DIR}/README.md readme)
file(READ ${SOURCE_DIR}/examples/hello_map/hello_map.cpp hello)
string(FIND "${readme}" "${hello}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show examples/hello_map/hello_map.cpp as it is")
endif()

run_step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${work}/prefix)

# A sanitized library needs a sanitized host; a Release install needs nothing but the package.
set(flags "")
if(SANITIZE)
  set(flags -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()
if(CCACHE)
  list(APPEND flags -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE})
endif()
run_step("configure the examples" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${work}/examples
         -DCMAKE_PREFIX_PATH=${work}/prefix -DCMAKE_BUILD_TYPE=Debug ${flags})
run_step("build the examples" ${CMAKE_COMMAND} --build ${work}/examples -j 2)

execute_process(COMMAND ${work}/examples/hello_map WORKING_DIRECTORY ${work}/run RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "${out}")
if(NOT rc EQUAL 0 OR NOT out MATCHES "5 objects loaded, picture hello.png")
  message(FATAL_ERROR "hello_map failed (${rc}):\n${out}\n${err}")
endif()
foreach(f hello.map lakes.LYR hello.png)
  if(NOT EXISTS ${work}/run/${f})
    message(FATAL_ERROR "hello_map wrote no ${f}")
  endif()
endforeach()

# The pkg-config file gives a working compile line too.
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} ${work}/prefix/lib/pkgconfig)
  file(GLOB pcdirs ${work}/prefix/lib*/pkgconfig ${work}/prefix/lib/*/pkgconfig)
  string(REPLACE ";" ":" pcpath "${pcdirs}")
  set(ENV{PKG_CONFIG_PATH} "${pcpath}")
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs corvane RESULT_VARIABLE rc OUTPUT_VARIABLE line
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT line MATCHES "-fexec-charset=GBK" OR NOT line MATCHES "-lcorvane_afx")
    message(FATAL_ERROR "pkg-config corvane: ${line}")
  endif()
  separate_arguments(args UNIX_COMMAND "${line}")
  set(san "")
  if(SANITIZE)
    set(san -fsanitize=address,undefined)
  endif()
  run_step("compile with pkg-config" c++ ${san} ${SOURCE_DIR}/examples/hello_map/hello_map.cpp ${args}
           -o ${work}/hello_map_pc)
endif()
