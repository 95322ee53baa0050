if(WIN32)
  # The arrangement is internal to the DLL: the Windows test program builds its
  # own copy (over the DLL's exported entry classes) to test it directly.
  target_sources(${target} PRIVATE ${QN_ROOT}/src/catalogue/CatalogueBuilder.cpp)
  # The scan runs over the demonstration installation's driver modules and
  # environment component (samples/installation).
  add_dependencies(${target} sample_installation)
  # The catalogue tests write "WbPath" and "Runtime Root" of the local machine
  # and register a COM class: never at the same time as another test that uses
  # the installation's registry values.
  set_tests_properties(catalogue PROPERTIES RESOURCE_LOCK quillon_registry)
endif()
