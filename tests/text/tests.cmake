# A second run of the text tests under a user locale with ',' as decimal
# separator (scripts/wine-run hands QN_TEST_LOCALE to Wine as LC_ALL). Only the
# *GermanLocale* suites run there; they skip themselves in the default '.' run.
add_test(NAME text.de_DE COMMAND ${target} --gtest_filter=*GermanLocale*)
set_tests_properties(text.de_DE PROPERTIES ENVIRONMENT QN_TEST_LOCALE=de_DE.UTF-8 TIMEOUT 600)

# The committed numeral parser tables must be what their generator makes now.
if(NOT WIN32)
  find_package(Python3 COMPONENTS Interpreter QUIET)
  if(Python3_FOUND)
    add_test(NAME text.numeral_tables COMMAND ${Python3_EXECUTABLE} ${QN_ROOT}/tools/gen_numeral_tables.py --check)
  endif()
endif()
