# qnutil frame commands, run under Wine by ctest like a user would.
add_test(NAME qnutil.version COMMAND qnutil version)
set_tests_properties(qnutil.version PROPERTIES PASS_REGULAR_EXPRESSION "^QNUtility ${PROJECT_VERSION} \\(")

add_test(NAME qnutil.crc COMMAND qnutil crc ${QN_ROOT}/samples/frame/check.txt)
set_tests_properties(qnutil.crc PROPERTIES PASS_REGULAR_EXPRESSION "^62EC59E3F1A4F00A  [^\n]*check.txt\n$")

# A missing file is reported and fails the command; the other files still print.
add_test(NAME qnutil.crc.missing COMMAND qnutil crc ${QN_ROOT}/samples/frame/no-such-file ${QN_ROOT}/samples/frame/check.txt)
set_tests_properties(qnutil.crc.missing PROPERTIES WILL_FAIL TRUE)

add_test(NAME qnutil.key COMMAND qnutil key)
set_tests_properties(qnutil.key PROPERTIES PASS_REGULAR_EXPRESSION "[0-9][0-9]mm[0-9]+\n$")

add_test(NAME qnutil.unknown COMMAND qnutil no-such-command)
set_tests_properties(qnutil.unknown PROPERTIES WILL_FAIL TRUE)
