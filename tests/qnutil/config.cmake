# qnutil config on no installation and on the demonstration installation
# (samples/installation); the script puts the prefix's registry back.
add_test(NAME qnutil.config COMMAND ${QN_ROOT}/tests/qnutil/config_check.sh $<TARGET_FILE:qnutil>)
set_tests_properties(qnutil.config PROPERTIES TIMEOUT 300)

add_test(NAME qnutil.config.usage COMMAND qnutil config extra)
set_tests_properties(qnutil.config.usage PROPERTIES WILL_FAIL TRUE)
