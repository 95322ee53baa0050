# Internal code the Windows test program compiles in: the bulk paths (to call
# each one directly) and the grid, palette, field and history arithmetic (so
# that the same tests run there and the dialog tests can place clicks by the
# grid's layout). The native program gets them from the static library.
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/colour/TargetColourBulk.cpp ${QN_ROOT}/src/frame/CpuFeatures.cpp
                                   ${QN_ROOT}/src/colour/ColourPickerLogic.cpp)
  target_include_directories(${target} PRIVATE ${QN_ROOT}/src)
endif()
