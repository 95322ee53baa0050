# The bulk paths are internal: the Windows test program compiles them in to
# call each one directly (the native one gets them from the static library).
if(WIN32)
  target_sources(${target} PRIVATE ${QN_ROOT}/src/colour/TargetColorBulk.cpp ${QN_ROOT}/src/frame/CpuFeatures.cpp)
endif()
