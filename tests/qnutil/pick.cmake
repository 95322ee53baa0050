# qnutil pick: the colour dialogs opened with QNResources.dll and driven by
# their --do actions (posted to the dialog's own message loop).
set(qn_pick_cases
  # name | expected output | arguments
  "ok|FF8000\n$|--colour FF8000 --do ok"
  "cell|FFFFFF\n$|--do cell:63,ok"
  "keys|009900\n$|--do focus:1000,key:down,key:space,ok"
  "transparent|transparent\n$|--colour 123456 --do transparent,ok"
  "mode1|^123456\n$|--mode 1 --colour 123456 --do transparent,ok"
  "cancel|cancelled\n$|--do cell:5,cancel"
  "full|336699\n$|--full --colour 336699 --do ok"
  "full.transparent|transparent\n$|--full --do transparent,ok"
  "full.cancel|cancelled\n$|--full --do cancel")
foreach(entry IN LISTS qn_pick_cases)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 expected)
  list(GET parts 2 argument_text)
  separate_arguments(arguments UNIX_COMMAND "${argument_text}")
  add_test(NAME qnutil.pick.${name} COMMAND qnutil pick ${arguments})
  set_tests_properties(qnutil.pick.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}" RESOURCE_LOCK display)
endforeach()

# A cancelled choice and bad arguments end with a non-zero exit.
foreach(entry IN ITEMS "cancel.exit|--do cancel" "badaction|--do jump" "badcolour|--colour 12345"
                       "badmode|--mode 13" "noresources|--resources nosuch.dll")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 argument_text)
  separate_arguments(arguments UNIX_COMMAND "${argument_text}")
  add_test(NAME qnutil.pick.${name} COMMAND qnutil pick ${arguments})
  set_tests_properties(qnutil.pick.${name} PROPERTIES WILL_FAIL TRUE RESOURCE_LOCK display)
endforeach()

# The screenshot script still runs (into the build tree).
add_test(NAME qnutil.pick.screenshots COMMAND ${QN_ROOT}/scripts/screenshots ${CMAKE_BINARY_DIR}/screenshots)
set_tests_properties(qnutil.pick.screenshots PROPERTIES ENVIRONMENT "QN_BUILD_DIR=${CMAKE_BINARY_DIR}"
                     RESOURCE_LOCK display)
