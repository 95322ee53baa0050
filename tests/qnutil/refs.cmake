# qnutil refs and refs-samples, run under Wine by ctest like a user would.
set(qn_refs_listing "3 tags, 2 objects, 2 special objects
tag      Pump3.Running
tag      Tank1.Alarm.High
tag      Tank1.Level
object   4711 \\(0x0000000000001267\\)
object   281483566841860 \\(0x0001000200030004\\)
special  \\$CurrentUser
special  \\$Language
$")
add_test(NAME qnutil.refs.stream COMMAND qnutil refs ${QN_ROOT}/samples/persist/refs_stream.bin)
set_tests_properties(qnutil.refs.stream PROPERTIES PASS_REGULAR_EXPRESSION
  "refs_stream.bin: reference list, stream form\n${qn_refs_listing}")
add_test(NAME qnutil.refs.block COMMAND qnutil refs ${QN_ROOT}/samples/persist/refs_block.bin)
set_tests_properties(qnutil.refs.block PROPERTIES PASS_REGULAR_EXPRESSION
  "refs_block.bin: reference list, block form, payload of 183 bytes\n${qn_refs_listing}")

# The damaged block names the offset where decoding failed, after the entry
# that came whole, and fails the command.
add_test(NAME qnutil.refs.damaged COMMAND qnutil refs ${QN_ROOT}/samples/persist/refs_damaged.bin)
set_tests_properties(qnutil.refs.damaged PROPERTIES PASS_REGULAR_EXPRESSION
  "1 tags, 0 objects, 0 special objects\ntag      Tank1.Level\n.*decoding failed at offset 48 \\(0x30\\)")
add_test(NAME qnutil.refs.damaged.status COMMAND qnutil refs ${QN_ROOT}/samples/persist/refs_damaged.bin)
set_tests_properties(qnutil.refs.damaged.status PROPERTIES WILL_FAIL TRUE)
add_test(NAME qnutil.refs.missing COMMAND qnutil refs ${QN_ROOT}/samples/persist/no-such.bin)
set_tests_properties(qnutil.refs.missing PROPERTIES WILL_FAIL TRUE)

# The committed samples are what the generator writes.
add_test(NAME qnutil.refs.samples.make COMMAND qnutil refs-samples ${CMAKE_BINARY_DIR}/refs-samples)
set_tests_properties(qnutil.refs.samples.make PROPERTIES FIXTURES_SETUP qn_refs_samples)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/refs-samples)
foreach(sample refs_stream refs_block refs_damaged)
  add_test(NAME qnutil.refs.samples.${sample}
           COMMAND ${CMAKE_COMMAND} -E compare_files ${CMAKE_BINARY_DIR}/refs-samples/${sample}.bin
                   ${QN_ROOT}/samples/persist/${sample}.bin)
  set_tests_properties(qnutil.refs.samples.${sample} PROPERTIES FIXTURES_REQUIRED qn_refs_samples)
endforeach()
