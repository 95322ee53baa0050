# One test program per subsystem: tests/<sub>/*.cpp (every build) plus
# tests/<sub>/win32/*.cpp (Windows build). tests/support holds shared helpers.
# Windows test programs link the DLL the way a host does and run under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR); the fixture DLLs in tests/fixtures/ are
# built beside them.

set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)

# Shared test helpers, main() included
file(GLOB support_sources CONFIGURE_DEPENDS ${QN_ROOT}/tests/support/*.cpp)
list(FILTER support_sources EXCLUDE REGEX "/TestStreams\\.cpp$")
if(WIN32)
  file(GLOB support_win32 CONFIGURE_DEPENDS ${QN_ROOT}/tests/support/win32/*.cpp)
  list(APPEND support_sources ${support_win32})
endif()
add_library(qn_test_support STATIC ${support_sources})
target_include_directories(qn_test_support PUBLIC ${QN_ROOT}/tests ${QN_ROOT}/src)
target_link_libraries(qn_test_support PUBLIC qn_test_streams ${QN_LIBRARY} GTest::gtest GTest::gmock)
if(WIN32)
  target_link_libraries(qn_test_support PUBLIC ${QN_WINDOWS_LIBS})
endif()
# Native: every allocation passes the allocation-fault harness
# (tests/support/AllocationFaults.cpp), which replaces operator new.
if(NOT WIN32)
  target_link_options(qn_test_support INTERFACE -Wl,--wrap=malloc,--wrap=realloc,--wrap=calloc
                      -Wl,--undefined=__wrap_malloc)
endif()

# Fixture DLLs (Windows only): each folder with a CMakeLists.txt adds its targets
# and appends them to the QN_FIXTURES global property.
set_property(GLOBAL PROPERTY QN_FIXTURES "")
if(WIN32)
  file(GLOB fixture_dirs LIST_DIRECTORIES true ${QN_ROOT}/tests/fixtures/*)
  foreach(dir IN LISTS fixture_dirs)
    if(EXISTS ${dir}/CMakeLists.txt)
      get_filename_component(name ${dir} NAME)
      add_subdirectory(${dir} ${CMAKE_BINARY_DIR}/fixtures/${name})
    endif()
  endforeach()
endif()
get_property(qn_fixture_targets GLOBAL PROPERTY QN_FIXTURES)

foreach(sub IN LISTS QN_SUBSYSTEMS)
  file(GLOB test_sources CONFIGURE_DEPENDS ${QN_ROOT}/tests/${sub}/*.cpp)
  if(WIN32)
    file(GLOB test_win32 CONFIGURE_DEPENDS ${QN_ROOT}/tests/${sub}/win32/*.cpp)
    list(APPEND test_sources ${test_win32})
  endif()
  if(NOT test_sources)
    continue()
  endif()
  set(target qn_${sub}_tests)
  add_executable(${target} ${test_sources})
  target_link_libraries(${target} PRIVATE qn_test_support)
  qn_warnings(${target})
  if(WIN32)
    target_link_options(${target} PRIVATE -static)
    if(qn_fixture_targets)
      add_dependencies(${target} ${qn_fixture_targets})
    endif()
  endif()
  add_test(NAME ${sub} COMMAND ${target})
  set_tests_properties(${sub} PROPERTIES TIMEOUT 600)
  if(EXISTS ${QN_ROOT}/tests/${sub}/tests.cmake)
    include(${QN_ROOT}/tests/${sub}/tests.cmake)
  endif()
endforeach()

if(WIN32 AND EXISTS ${QN_ROOT}/tests/sdk/CMakeLists.txt)
  add_subdirectory(${QN_ROOT}/tests/sdk ${CMAKE_BINARY_DIR}/sdk-test)
endif()

# Leak and undefined-behaviour checks on every native sanitizer test, whatever
# the caller's environment: the native test preset sets the same, a plain
# `ctest --test-dir build/native` does not.
if(QN_SANITIZE AND NOT WIN32)
  get_property(qn_sanitized_tests DIRECTORY PROPERTY TESTS)
  if(qn_sanitized_tests)
    set_property(TEST ${qn_sanitized_tests} APPEND PROPERTY ENVIRONMENT
                 "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1" "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
endif()
