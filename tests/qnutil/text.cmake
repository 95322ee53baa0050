# qnutil text commands, run under Wine by ctest like a user would.
add_test(NAME qnutil.escape COMMAND qnutil escape --ops Backslash,Apostrophe "it's a\\b")
set_tests_properties(qnutil.escape PROPERTIES PASS_REGULAR_EXPRESSION "^it\\\\'s a\\\\\\\\b\n$")

add_test(NAME qnutil.unescape COMMAND qnutil unescape --ops eEscHex,Octal "\\x41\\102z")
set_tests_properties(qnutil.unescape PROPERTIES PASS_REGULAR_EXPRESSION "^ABz\n$")

# \u under the Unicode operation fails the whole conversion.
add_test(NAME qnutil.unescape.unicode COMMAND qnutil unescape --ops Unicode "\\u0041")
set_tests_properties(qnutil.unescape.unicode PROPERTIES WILL_FAIL TRUE)

add_test(NAME qnutil.escape.badops COMMAND qnutil escape --ops Quote,Nonsense x)
set_tests_properties(qnutil.escape.badops PROPERTIES WILL_FAIL TRUE)

add_test(NAME qnutil.nextname COMMAND qnutil nextname Lamp --step 5 --count 3)
set_tests_properties(qnutil.nextname PROPERTIES PASS_REGULAR_EXPRESSION "^Lamp05\nLamp10\nLamp15\n$")

add_test(NAME qnutil.nextname.cut COMMAND qnutil nextname AB9999 --max 6 --count 2)
set_tests_properties(qnutil.nextname.cut PROPERTIES PASS_REGULAR_EXPRESSION "^A10000\nA10001\n$")

add_test(NAME qnutil.nextname.badstep COMMAND qnutil nextname Lamp --step five)
set_tests_properties(qnutil.nextname.badstep PROPERTIES WILL_FAIL TRUE)

# Three of the nine "Level"s stand outside literals and comments.
add_test(NAME qnutil.script COMMAND qnutil script replace Level TankLevel ${QN_ROOT}/samples/text/tank.txt)
set_tests_properties(qnutil.script PROPERTIES PASS_REGULAR_EXPRESSION
  "TankLevel = GetTag\\(\"Tank.Level\"\\); // Level in percent.*If TankLevel > 80.*\"Level is high.*Alarm = TankLevel > 95.*3 replacements")

add_test(NAME qnutil.script.missing COMMAND qnutil script replace a b ${QN_ROOT}/samples/text/no-such-file.txt)
set_tests_properties(qnutil.script.missing PROPERTIES WILL_FAIL TRUE)
