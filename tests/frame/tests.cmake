# The language-module search again under a German user locale.
if(WIN32)
  add_test(NAME frame.de_DE COMMAND ${target} --gtest_filter=ResourceScope*:Language.*)
  set_tests_properties(frame.de_DE PROPERTIES ENVIRONMENT QN_TEST_LOCALE=de_DE.UTF-8 TIMEOUT 300)
endif()

# The configuration rules are internal to the DLL: the Windows test program
# builds its own copy to test them (the native build links them as usual).
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/frame/ConfigurationRules.cpp)
  target_include_directories(${target} PRIVATE ${QN_ROOT}/src)
endif()

# The class of the user's locale under an East Asian user locale.
if(WIN32)
  foreach(locale ja_JP zh_HK)
    add_test(NAME frame.${locale} COMMAND ${target} --gtest_filter=Language.UserLocaleClass)
    set_tests_properties(frame.${locale} PROPERTIES ENVIRONMENT QN_TEST_LOCALE=${locale}.UTF-8 TIMEOUT 300
                         FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  endforeach()
endif()
