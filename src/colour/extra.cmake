# The colour conversions run per pixel while painting and are checked over all
# 2^24 colours by the tests; Debug builds keep them optimised (still under the
# sanitizers) so that those checks take seconds rather than minutes.
set_source_files_properties(${QN_ROOT}/src/colour/TargetColour.cpp ${QN_ROOT}/src/colour/Colour.cpp
  PROPERTIES COMPILE_OPTIONS "$<$<CONFIG:Debug>:-O2>")
# The bulk loops too; on Windows wide-register spills are written unaligned
# (GCC cannot align the Windows x64 stack beyond 16 bytes).
set_source_files_properties(${QN_ROOT}/src/colour/TargetColourBulk.cpp
  PROPERTIES COMPILE_OPTIONS "$<$<CONFIG:Debug>:-O2>;$<$<BOOL:${WIN32}>:-Wa,-muse-unaligned-vector-move>")
