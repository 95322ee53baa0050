# The grid, palette, field and history arithmetic is internal to the DLL: the
# Windows test program builds its own copy so that the same tests run there too
# (and the dialog tests can place clicks by the grid's layout).
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/colour/ColorPickerLogic.cpp)
  target_include_directories(${target} PRIVATE ${QN_ROOT}/src)
endif()
