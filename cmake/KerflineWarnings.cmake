# Warnings are errors on our own targets only; third-party headers come in as SYSTEM.
function(kerfline_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # GCC 12 at -O3 reports overlapping memcpy inside std::string concatenation that cannot happen
  # (a known false positive of its -Wrestrict); keep the warning, but not as an error.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
endfunction()
