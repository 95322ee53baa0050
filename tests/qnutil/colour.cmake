# qnutil colour and preview, run under Wine by ctest like a user would.
add_test(NAME qnutil.colour.rgb COMMAND qnutil colour FF8000 --mode 7)
set_tests_properties(qnutil.colour.rgb PROPERTIES PASS_REGULAR_EXPRESSION
  "colour      0x000080FF  RGB FF8000  name #FF8000\n.*\n   7  65536 colours        6  FF7F00    0xFBC0FBC0\n$")

add_test(NAME qnutil.colour.name COMMAND qnutil colour Cornflower)
set_tests_properties(qnutil.colour.name PROPERTIES PASS_REGULAR_EXPRESSION
  "0x00ED9564  RGB 6495ED  name cornflower\n.*\n   0  64 colours           2  7FBFFF    0x2B2B2B2B\n.*\n  12  8 grey levels        9  B0B0B0    0x44444444\n$")

add_test(NAME qnutil.colour.transparent COMMAND qnutil colour 0x08000000 --mode 1)
set_tests_properties(qnutil.colour.transparent PROPERTIES PASS_REGULAR_EXPRESSION
  "transparent.*\n   1  256 colours          3  0x08000000  0x00000000\n$")

# Bad input fails the command.
add_test(NAME qnutil.colour.bad COMMAND qnutil colour nosuchcolour)
set_tests_properties(qnutil.colour.bad PROPERTIES WILL_FAIL TRUE)
add_test(NAME qnutil.colour.badmode COMMAND qnutil colour red --mode 13)
set_tests_properties(qnutil.colour.badmode PROPERTIES WILL_FAIL TRUE)

add_test(NAME qnutil.preview COMMAND qnutil preview --mode 0 ${QN_ROOT}/samples/colour/panel.png
                                     ${CMAKE_BINARY_DIR}/panel-mode0.png)
set_tests_properties(qnutil.preview PROPERTIES PASS_REGULAR_EXPRESSION "256 x 176 as mode 0 \\(64 colours\\)")
add_test(NAME qnutil.preview.bmp COMMAND qnutil preview --mode 11 ${QN_ROOT}/samples/colour/panel.png
                                         ${CMAKE_BINARY_DIR}/panel-mode11.bmp)
set_tests_properties(qnutil.preview.bmp PROPERTIES PASS_REGULAR_EXPRESSION "256 x 176 as mode 11")
add_test(NAME qnutil.preview.missing COMMAND qnutil preview --mode 0 ${QN_ROOT}/samples/colour/no-such.png
                                             ${CMAKE_BINARY_DIR}/x.png)
set_tests_properties(qnutil.preview.missing PROPERTIES WILL_FAIL TRUE)
add_test(NAME qnutil.preview.notimage COMMAND qnutil preview --mode 0 ${QN_ROOT}/samples/colour/make_panel.py
                                              ${CMAKE_BINARY_DIR}/x.png)
set_tests_properties(qnutil.preview.notimage PROPERTIES WILL_FAIL TRUE)
add_test(NAME qnutil.preview.badtype COMMAND qnutil preview --mode 0 ${QN_ROOT}/samples/colour/panel.png
                                             ${CMAKE_BINARY_DIR}/x.gif)
set_tests_properties(qnutil.preview.badtype PROPERTIES WILL_FAIL TRUE)
