# qnutil literal, run under Wine by ctest like a user would.
add_test(NAME qnutil.literal COMMAND qnutil literal 42 -40000 0x00FF 1.5 3.40282e38 true "'\\n'" 7L)
set_tests_properties(qnutil.literal PROPERTIES PASS_REGULAR_EXPRESSION
  "^42: QNDT_INT8, value 42\n-40000: QNDT_INT32, value -40000\n0x00FF: QNDT_INT16, value 255\n1.5: QNDT_FLOAT\n3.40282e38: QNDT_DOUBLE\ntrue: QNDT_BOOL\n'\\\\n': QNDT_CHAR\n7L: QNDT_INT64, value 7\n$")

# The parser's diagnostic, and the range error; both make the exit code 1.
add_test(NAME qnutil.literal.syntax COMMAND qnutil literal 12x)
set_tests_properties(qnutil.literal.syntax PROPERTIES PASS_REGULAR_EXPRESSION
  "qnutil literal: 12x: Unexpected 'x', line 1, column 3")
add_test(NAME qnutil.literal.syntax.status COMMAND qnutil literal 1 "4 2")
set_tests_properties(qnutil.literal.syntax.status PROPERTIES WILL_FAIL TRUE)
add_test(NAME qnutil.literal.range COMMAND qnutil literal 2147483648)
set_tests_properties(qnutil.literal.range PROPERTIES PASS_REGULAR_EXPRESSION
  "qnutil literal: 2147483648: out of the range of its type \\(error 8022\\)")
add_test(NAME qnutil.literal.usage COMMAND qnutil literal)
set_tests_properties(qnutil.literal.usage PROPERTIES WILL_FAIL TRUE)
