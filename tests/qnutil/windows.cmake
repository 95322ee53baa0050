# qnutil sound and qnutil tabs: bad arguments end with a non-zero exit (the
# windows themselves are opened by the screenshot script, qnutil.pick.screenshots).
foreach(entry IN ITEMS "sound.badoption|sound --option 2 Bell" "sound.unknown|sound --loud Bell"
                       "tabs.unknown|tabs --wide")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 argument_text)
  separate_arguments(arguments UNIX_COMMAND "${argument_text}")
  add_test(NAME qnutil.${name} COMMAND qnutil ${arguments})
  set_tests_properties(qnutil.${name} PROPERTIES WILL_FAIL TRUE)
endforeach()
