# Installs the Windows build into a fresh SDK tree, then builds the host program
# against it: with a plain compiler command (-I, -L, -l only) and as a CMake
# project using find_package(QNUtility), as C++17 and as C++20. Each must run
# under Wine with only QNUtility.dll beside it, and import no DLL of the
# compiler's runtime.
# Arguments: -DBUILD_DIR= -DWORK_DIR= -DSOURCE_DIR= -DCXX= -DTOOLCHAIN= -DWINE_RUN= -DOBJDUMP=
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(sdk ${WORK_DIR}/sdk)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${sdk})
foreach(f include/QNUtility.h include/afx/afxstr.h lib/libQNUtility.dll.a bin/QNUtility.dll
          lib/cmake/QNUtility/QNUtilityConfig.cmake)
  if(NOT EXISTS ${sdk}/${f})
    message(FATAL_ERROR "SDK tree lacks ${f}")
  endif()
endforeach()

# The host runs beside QNUtility.dll alone and imports no runtime DLL.
function(check_host exe)
  get_filename_component(dir ${exe} DIRECTORY)
  file(COPY ${sdk}/bin/QNUtility.dll DESTINATION ${dir})
  file(GLOB dlls ${dir}/*.dll)
  if(NOT dlls STREQUAL "${dir}/QNUtility.dll")
    message(FATAL_ERROR "more than QNUtility.dll beside the host: ${dlls}")
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${exe} OUTPUT_VARIABLE imports)
  string(REGEX MATCHALL "DLL Name: [^\n]*" names "${imports}")
  foreach(name IN LISTS names)
    if(name MATCHES "libstdc|libgcc|winpthread")
      message(FATAL_ERROR "${exe} imports ${name}")
    endif()
  endforeach()
  run(${WINE_RUN} ${exe})
endfunction()

foreach(standard 17 20)
  # 1. Plain command line. The runtime libraries are linked statically
  #    (-static), so the import library is named in dynamic mode.
  set(plain ${WORK_DIR}/plain${standard})
  file(MAKE_DIRECTORY ${plain})
  run(${CXX} -std=c++${standard} -I${sdk}/include ${SOURCE_DIR}/host.cpp -L${sdk}/lib -static -Wl,-Bdynamic
      -lQNUtility -Wl,-Bstatic -o ${plain}/host.exe)
  check_host(${plain}/host.exe)

  # 2. find_package, the standard as the host sets it.
  set(pkg ${WORK_DIR}/package${standard})
  run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/project -B ${pkg} -G Ninja -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
      -DCMAKE_PREFIX_PATH=${sdk} -DCMAKE_CXX_STANDARD=${standard})
  run(${CMAKE_COMMAND} --build ${pkg})
  check_host(${pkg}/sdkhost.exe)
endforeach()
