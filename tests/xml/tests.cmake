# The name checks are not exported from the DLL: the Windows test program
# builds them in as well. The tests change the registry value WbPath.
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/xml/XmlName.cpp)
  set_tests_properties(${sub} PROPERTIES RESOURCE_LOCK quillon_registry)
endif()
