# The CRC register steps carry every stream and block checksum: Debug builds
# keep them optimised (still under the sanitizers) so that the tests' sweeps
# over every length and alignment take seconds.
set(qn_crc64_sources ${QN_ROOT}/src/frame/Crc64.cpp ${QN_ROOT}/src/frame/Crc64Fold.cpp)
set_source_files_properties(${qn_crc64_sources} PROPERTIES COMPILE_OPTIONS "$<$<CONFIG:Debug>:-O2>")
if(WIN32)
  # GCC cannot align the Windows x64 stack beyond 16 bytes: should a wide
  # register ever be spilled, the assembler writes the move unaligned.
  set_source_files_properties(${QN_ROOT}/src/frame/Crc64Fold.cpp PROPERTIES
    COMPILE_OPTIONS "$<$<CONFIG:Debug>:-O2>;-Wa,-muse-unaligned-vector-move")
endif()
