# qnutil drivers on the demonstration installation's modules as the build lays
# them out (build/<preset>/samples/installation/Quillon): "WbPath", "Runtime
# Root" and the sample environment component are set up before the checks and
# removed after them.
set(qn_inst "${CMAKE_BINARY_DIR}/samples/installation/Quillon")
string(REPLACE "/" "\\" qn_inst_win "Z:${qn_inst}")
set(qn_wine ${QN_ROOT}/scripts/wine-run)
set(qn_key_install "HKLM\\SOFTWARE\\Varnholt\\Quillon\\Install")
set(qn_key_config "HKLM\\SOFTWARE\\Varnholt\\Quillon\\Configuration")

add_test(NAME qnutil.drivers.setup.wbpath
         COMMAND ${qn_wine} reg add ${qn_key_install} /v WbPath /d "${qn_inst_win}\\Workbench" /f)
add_test(NAME qnutil.drivers.setup.runtime
         COMMAND ${qn_wine} reg add ${qn_key_config} /v "Runtime Root" /d "${qn_inst_win}\\Runtime" /f)
add_test(NAME qnutil.drivers.setup.environment
         COMMAND ${qn_wine} regsvr32 /s "${qn_inst_win}\\Workbench\\SampleEnvironment.dll")
add_test(NAME qnutil.drivers.cleanup.wbpath COMMAND ${qn_wine} reg delete ${qn_key_install} /v WbPath /f)
add_test(NAME qnutil.drivers.cleanup.runtime COMMAND ${qn_wine} reg delete ${qn_key_config} /v "Runtime Root" /f)
add_test(NAME qnutil.drivers.cleanup.environment
         COMMAND ${qn_wine} regsvr32 /s /u "${qn_inst_win}\\Workbench\\SampleEnvironment.dll")
foreach(step wbpath runtime environment)
  set_tests_properties(qnutil.drivers.setup.${step} PROPERTIES FIXTURES_SETUP qn_drivers_installation
                       RESOURCE_LOCK quillon_registry)
  set_tests_properties(qnutil.drivers.cleanup.${step} PROPERTIES FIXTURES_CLEANUP qn_drivers_installation
                       RESOURCE_LOCK quillon_registry)
endforeach()

# Manufacturers come in the order of the directory search, so each is checked
# on its own; within an entry the lines are fixed.
set(qn_bin "[^\n]*\\\\Runtime\\\\Bin\\\\")
set(qn_help "[^\n]*\\\\Help\\\\")
set(qn_src "[^\n]*\\\\HMI IO\\\\")
set(qn_drivers_checks
  "summary|2 manufacturers, 4 listed entries, 2 attached entries\n$"
  "nordmark|(^|\n)Nordmark\n"
  "kestrel|(^|\n)Kestrel\n  listed   201  ${qn_bin}KSEthernet\\.dll\n +help +${qn_help}KSEthernet\\.chm\n +source +${qn_src}KestrelEthernet\\.DLL\n    attached 202 KS TCP  ${qn_bin}KSTcp\\.dll\n +help +${qn_help}KSTcp\\.chm\n +source +${qn_src}KestrelEthernet\\.DLL\n"
  "attached|  listed   101  ${qn_bin}NMSerial\\.dll\n +help +${qn_help}NMSerial\\.chm\n +source +${qn_src}NordmarkSerial\\.DLL\n    attached 103 NM Link  ${qn_bin}NMLink\\.dll\n +help +${qn_help}NMLink\\.chm\n +source +${qn_src}NordmarkSerial\\.DLL\n"
  "defaulthelp|  listed   102  ${qn_bin}NMSerial485\\.dll\n +help +${qn_help}Orvista\\.chm\n"
  "json|\"name\": \"Kestrel\",\n +\"listed\": \\[\n +{\n +\"id\": 201,\n +\"name\": \"Kestrel\",\n +\"module\": \"Z:[^\"]*Runtime\\\\\\\\Bin\\\\\\\\KSEthernet.dll\",")
foreach(check IN LISTS qn_drivers_checks)
  string(FIND "${check}" "|" bar)
  string(SUBSTRING "${check}" 0 ${bar} name)
  math(EXPR bar "${bar} + 1")
  string(SUBSTRING "${check}" ${bar} -1 regex)
  if(name STREQUAL "json")
    add_test(NAME qnutil.drivers.${name} COMMAND qnutil drivers --json)
  else()
    add_test(NAME qnutil.drivers.${name} COMMAND qnutil drivers)
  endif()
  set_tests_properties(qnutil.drivers.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${regex}"
                       FIXTURES_REQUIRED qn_drivers_installation RESOURCE_LOCK quillon_registry)
endforeach()

add_test(NAME qnutil.drivers.usage COMMAND qnutil drivers --tree)
set_tests_properties(qnutil.drivers.usage PROPERTIES WILL_FAIL TRUE)
