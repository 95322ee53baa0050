# Warnings shared by every target of the project.
function(qn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter
                         $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)
  # A CString passed through "..." (Format) would hand over the address of a
  # copy, not its characters: cast it to LPCTSTR. GCC accepts it silently
  # unless told; clang refuses it on its own.
  target_compile_options(${target} PRIVATE
                         $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU>>:-Werror=conditionally-supported>)
endfunction()
