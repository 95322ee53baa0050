# --- Class identifier translation ---
# The state at load, in a process of its own so that no earlier test has filled
# the maps.
add_test(NAME persist.clsid_at_load COMMAND ${target} --gtest_filter=ClassTableAtLoad.*)
set_tests_properties(persist.clsid_at_load PROPERTIES TIMEOUT 300 FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
# The committed table is what its generator makes.
find_package(Python3 COMPONENTS Interpreter QUIET)
if(Python3_Interpreter_FOUND)
  add_test(NAME persist.class_table_generated COMMAND ${Python3_EXECUTABLE} ${QN_ROOT}/tools/gen_class_table.py --check)
endif()
