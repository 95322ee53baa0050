# The language-module search again under a German user locale.
if(WIN32)
  add_test(NAME frame.de_DE COMMAND ${target} --gtest_filter=ResourceScope*)
  set_tests_properties(frame.de_DE PROPERTIES ENVIRONMENT QN_TEST_LOCALE=de_DE.UTF-8 TIMEOUT 300)
endif()
