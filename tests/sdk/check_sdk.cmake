# Installs the Windows build into a fresh SDK tree, then builds the host program
# twice against it: with a plain compiler command (-I, -L, -l only) and as a
# CMake project using find_package(QNUtility). Both must run under Wine.
# Arguments: -DBUILD_DIR= -DWORK_DIR= -DSOURCE_DIR= -DCXX= -DTOOLCHAIN= -DWINE_RUN=
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

# 1. Plain command line. The runtime libraries are linked statically
#    (-static), so the import library is named in dynamic mode.
set(plain ${WORK_DIR}/plain)
file(MAKE_DIRECTORY ${plain})
run(${CXX} -std=c++20 -I${sdk}/include ${SOURCE_DIR}/host.cpp -L${sdk}/lib -static -Wl,-Bdynamic -lQNUtility -Wl,-Bstatic
    -o ${plain}/host.exe)
file(COPY ${sdk}/bin/QNUtility.dll DESTINATION ${plain})
run(${WINE_RUN} ${plain}/host.exe)

# 2. find_package.
set(pkg ${WORK_DIR}/package)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/project -B ${pkg} -G Ninja -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
    -DCMAKE_PREFIX_PATH=${sdk})
run(${CMAKE_COMMAND} --build ${pkg})
file(COPY ${sdk}/bin/QNUtility.dll DESTINATION ${pkg})
run(${WINE_RUN} ${pkg}/sdkhost.exe)
