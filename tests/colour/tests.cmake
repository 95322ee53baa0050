# Internal code the Windows test program compiles in: the bulk paths (to call
# each one directly) and the grid, palette, field and history arithmetic (so
# that the same tests run there and the dialog tests can place clicks by the
# grid's layout). The native program gets them from the static library.
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/colour/TargetColourBulk.cpp ${QN_ROOT}/src/common/CpuFeatures.cpp
                                   ${QN_ROOT}/src/colour/ColourPickerLogic.cpp)
  target_include_directories(${target} PRIVATE ${QN_ROOT}/src)
endif()

# Every colour through every mode and bulk path: its own program, optimised and
# without the sanitizers, built from the conversion sources themselves.
add_executable(qn_colour_exhaustive_tests ${QN_ROOT}/tests/colour/exhaustive/target_colour_exhaustive_test.cpp
  ${QN_ROOT}/src/colour/TargetColour.cpp ${QN_ROOT}/src/colour/TargetColourBulk.cpp ${QN_ROOT}/src/common/CpuFeatures.cpp)
target_include_directories(qn_colour_exhaustive_tests PRIVATE ${QN_ROOT}/include ${QN_ROOT}/src ${QN_ROOT}/tests)
target_compile_definitions(qn_colour_exhaustive_tests PRIVATE QN_STATIC)
target_compile_options(qn_colour_exhaustive_tests PRIVATE -O2)
target_link_libraries(qn_colour_exhaustive_tests PRIVATE GTest::gtest_main)
qn_warnings(qn_colour_exhaustive_tests)
if(WIN32)
  target_link_options(qn_colour_exhaustive_tests PRIVATE -static)
else()
  target_include_directories(qn_colour_exhaustive_tests PRIVATE ${QN_ROOT}/port/include)
  target_compile_definitions(qn_colour_exhaustive_tests PRIVATE QN_NATIVE)
endif()
add_test(NAME colour_exhaustive COMMAND qn_colour_exhaustive_tests)
set_tests_properties(colour_exhaustive PROPERTIES TIMEOUT 600)
