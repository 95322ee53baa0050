# The catalogue's internal rules are not exported from the DLL: the Windows
# test program builds them in as well.
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/ui/FontCatalogue.cpp)
endif()
