# qnutil defaults, run under Wine by ctest like a user would: the registry
# value WbPath of the test prefix names a folder of the build tree for the
# duration of these tests, and the saved document is read back by xmllint.
set(qn_defaults_dir ${CMAKE_BINARY_DIR}/defaults-test)
set(qn_defaults_file ${qn_defaults_dir}/Defaults.xml)
string(REPLACE "/" "\\" qn_defaults_winpath "Z:${qn_defaults_dir}")
set(qn_wine ${QN_ROOT}/scripts/wine-run)
set(qn_install_key "HKLM\\SOFTWARE\\Varnholt\\Quillon\\Install")

add_test(NAME qnutil.defaults.setup.folder
         COMMAND ${CMAKE_COMMAND} -E rm -rf ${qn_defaults_dir})
add_test(NAME qnutil.defaults.setup.registry
         COMMAND ${qn_wine} reg add ${qn_install_key} /v WbPath /d ${qn_defaults_winpath} /f)
add_test(NAME qnutil.defaults.setup.mkdir COMMAND ${CMAKE_COMMAND} -E make_directory ${qn_defaults_dir})
set_tests_properties(qnutil.defaults.setup.folder qnutil.defaults.setup.registry qnutil.defaults.setup.mkdir
                     PROPERTIES FIXTURES_SETUP qn_defaults RESOURCE_LOCK quillon_registry)
set_tests_properties(qnutil.defaults.setup.mkdir PROPERTIES DEPENDS qnutil.defaults.setup.folder)
add_test(NAME qnutil.defaults.cleanup COMMAND ${qn_wine} reg delete ${qn_install_key} /v WbPath /f)
set_tests_properties(qnutil.defaults.cleanup PROPERTIES FIXTURES_CLEANUP qn_defaults RESOURCE_LOCK quillon_registry)

# One qnutil run after the other: qn_defaults_step(NAME EXPECTED ARGS...) with
# EXPECTED a regular expression for the output, "" for a plain success, or
# WILL_FAIL.
set(qn_defaults_previous qnutil.defaults.setup.mkdir)
set(qn_defaults_steps)
function(qn_defaults_step name expected)
  set(test qnutil.defaults.${name})
  add_test(NAME ${test} COMMAND qnutil ${ARGN})
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED qn_defaults RESOURCE_LOCK quillon_registry
                       DEPENDS ${qn_defaults_previous})
  if(expected STREQUAL "WILL_FAIL")
    set_tests_properties(${test} PROPERTIES WILL_FAIL TRUE)
  elseif(NOT expected STREQUAL "")
    set_tests_properties(${test} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}")
  endif()
  set(qn_defaults_previous ${test} PARENT_SCOPE)
  set(qn_defaults_steps ${qn_defaults_steps} ${test} PARENT_SCOPE)
endfunction()

qn_defaults_step(set "" defaults set GridOptions Spacing 8)
qn_defaults_step(replace "" defaults set GridOptions Spacing 12)
qn_defaults_step(cdata "" defaults set Scripts OnLoad "if (a<b) {} & done" --cdata)
qn_defaults_step(markup "" defaults set GridOptions Title "<a> & \"b\"")
qn_defaults_step(get "^12\n$" defaults get GridOptions Spacing)
qn_defaults_step(get.cdata "^if \\(a<b\\) {} & done\n$" defaults get Scripts OnLoad)
qn_defaults_step(get.missing WILL_FAIL defaults get GridOptions Nothing)
qn_defaults_step(set.badname WILL_FAIL defaults set GridOptions 1st x)
qn_defaults_step(set.badsection WILL_FAIL defaults set "Grid Options" Spacing 1)
# ("]]>" written out: a bracket in a CMake list would join the arguments)
add_test(NAME qnutil.defaults.set.badcdata COMMAND qnutil defaults set Scripts OnLoad "a]]>b" --cdata)
set_tests_properties(qnutil.defaults.set.badcdata PROPERTIES FIXTURES_REQUIRED qn_defaults RESOURCE_LOCK quillon_registry
                     DEPENDS ${qn_defaults_previous} WILL_FAIL TRUE)
set(qn_defaults_previous qnutil.defaults.set.badcdata)
list(APPEND qn_defaults_steps qnutil.defaults.set.badcdata)
qn_defaults_step(usage WILL_FAIL defaults set GridOptions)

# xmllint reads the saved document with the same meaning: qn_defaults_xpath(NAME XPATH EXPECTED).
function(qn_defaults_xpath name xpath expected)
  set(test qnutil.defaults.xmllint.${name})
  add_test(NAME ${test} COMMAND xmllint --xpath "${xpath}" ${qn_defaults_file})
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED qn_defaults RESOURCE_LOCK quillon_registry
                       DEPENDS ${qn_defaults_previous} PASS_REGULAR_EXPRESSION "${expected}")
  set(qn_defaults_steps ${qn_defaults_steps} ${test} PARENT_SCOPE)
endfunction()

qn_defaults_xpath(root "name(/*)" "^Defaults\n?$")
qn_defaults_xpath(comment "string(/comment())" "^Orvista Defaults Experts Only!\n?$")
qn_defaults_xpath(spacing "string(/Defaults/GridOptions/Spacing)" "^12\n?$")
qn_defaults_xpath(one.spacing "count(//Spacing)" "^1\n?$")
qn_defaults_xpath(title "string(/Defaults/GridOptions/Title)" "^<a> & \"b\"\n?$")
qn_defaults_xpath(cdata "string(/Defaults/Scripts/OnLoad)" "^if \\(a<b\\) {} & done\n?$")
qn_defaults_xpath(cdata.node "count(/Defaults/Scripts/OnLoad/node())" "^1\n?$")

# A file that does not parse is reported and left exactly as it was.
add_test(NAME qnutil.defaults.broken.write
         COMMAND ${CMAKE_COMMAND} -E copy ${QN_ROOT}/samples/xml/broken-defaults.xml ${qn_defaults_file})
add_test(NAME qnutil.defaults.broken.set COMMAND qnutil defaults set GridOptions Spacing 4)
add_test(NAME qnutil.defaults.broken.kept
         COMMAND ${CMAKE_COMMAND} -E compare_files ${QN_ROOT}/samples/xml/broken-defaults.xml ${qn_defaults_file})
set_tests_properties(qnutil.defaults.broken.write qnutil.defaults.broken.set qnutil.defaults.broken.kept
                     PROPERTIES FIXTURES_REQUIRED qn_defaults RESOURCE_LOCK quillon_registry)
set_tests_properties(qnutil.defaults.broken.write PROPERTIES DEPENDS "${qn_defaults_steps}")
set_tests_properties(qnutil.defaults.broken.set PROPERTIES DEPENDS qnutil.defaults.broken.write WILL_FAIL TRUE)
set_tests_properties(qnutil.defaults.broken.kept PROPERTIES DEPENDS qnutil.defaults.broken.set)
