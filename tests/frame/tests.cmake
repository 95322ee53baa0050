# The language-module search again under a German user locale.
if(WIN32)
  add_test(NAME frame.de_DE COMMAND ${target} --gtest_filter=ResourceScope*:Language.*)
  set_tests_properties(frame.de_DE PROPERTIES ENVIRONMENT QN_TEST_LOCALE=de_DE.UTF-8 TIMEOUT 300)
endif()

# The CRC paths are internal: the Windows test program compiles them in to call
# each one directly (the native one gets them from the static library). Natively
# ISA-L, when installed, is a second oracle for the whole CRC.
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/frame/Crc64.cpp ${QN_ROOT}/src/frame/Crc64Fold.cpp
                                   ${QN_ROOT}/src/common/CpuFeatures.cpp)
else()
  find_library(QN_ISAL_LIBRARY isal)
  find_path(QN_ISAL_INCLUDE isa-l/crc64.h)
  if(QN_ISAL_LIBRARY AND QN_ISAL_INCLUDE)
    target_link_libraries(${target} PRIVATE ${QN_ISAL_LIBRARY})
    target_include_directories(${target} PRIVATE ${QN_ISAL_INCLUDE})
    target_compile_definitions(${target} PRIVATE QN_TEST_WITH_ISAL)
  endif()
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
