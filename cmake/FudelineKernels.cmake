# Kernel files get the instruction set their name says (*_avx2.cpp,
# *_avx512.cpp; *_sse2.cpp is baseline x86-64) on x86-64, and are left out
# elsewhere, where only the portable kernels exist. The code calls a kernel
# only where the processor has its instructions (docs/ARCHITECTURE.md, "The
# fast scorers").
function(fudeline_kernel_files)
  foreach(file ${ARGN})
    if(NOT CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
      set_source_files_properties(${file} PROPERTIES HEADER_FILE_ONLY ON)
    elseif(file MATCHES "_avx512\\.cpp$")
      set_source_files_properties(${file} PROPERTIES COMPILE_OPTIONS "-mavx2;-mavx512f;-mavx512bw")
    elseif(file MATCHES "_avx2\\.cpp$")
      set_source_files_properties(${file} PROPERTIES COMPILE_OPTIONS "-mavx2")
    endif()
  endforeach()
endfunction()
