# qnutil fonts, run under Wine by ctest like a user would: the catalogue of
# the fonts this machine has (scripts/bootstrap installs DejaVu and Liberation).
add_test(NAME qnutil.fonts COMMAND qnutil fonts)
set_tests_properties(qnutil.fonts PROPERTIES PASS_REGULAR_EXPRESSION "^([^\n]+\n)+$;\\(Western\\)\n")
add_test(NAME qnutil.fonts.cyrillic COMMAND qnutil fonts --charset russian)
set_tests_properties(qnutil.fonts.cyrillic PROPERTIES PASS_REGULAR_EXPRESSION "^([^\n]+ \\(Cyrillic\\)\n)+$")
add_test(NAME qnutil.fonts.badcharset COMMAND qnutil fonts --charset 256)
set_tests_properties(qnutil.fonts.badcharset PROPERTIES WILL_FAIL TRUE)
