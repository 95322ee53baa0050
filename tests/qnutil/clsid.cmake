# qnutil clsid: both directions of the conversion table, case-insensitive input.
add_test(NAME qnutil.clsid.stored COMMAND qnutil clsid {47773650-8e31-11d2-9dd8-00a0c99a0985})
set_tests_properties(qnutil.clsid.stored PROPERTIES PASS_REGULAR_EXPRESSION
  "^{47773650-8e31-11d2-9dd8-00a0c99a0985}  stored; current class {3544A8C3-86B4-4768-96C3-1E8E416586E5}\n$")

add_test(NAME qnutil.clsid.current COMMAND qnutil clsid {2E92CF32-CC2C-4643-A336-4D671A67C357}
                                                       {1E505D9C-D96D-40C8-9F9D-505FA5999887})
set_tests_properties(qnutil.clsid.current PROPERTIES PASS_REGULAR_EXPRESSION
  "^{2E92CF32-CC2C-4643-A336-4D671A67C357}  current; stored as {6F00D687-E31E-4348-9A15-9D795A8A8E23}\n{1E505D9C-D96D-40C8-9F9D-505FA5999887}  not in the table\n$")

# Text that is no class identifier fails the command.
add_test(NAME qnutil.clsid.bad COMMAND qnutil clsid not-a-guid)
set_tests_properties(qnutil.clsid.bad PROPERTIES WILL_FAIL TRUE)
