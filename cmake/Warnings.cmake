# Our own code builds without a warning. Whether a warning is an error is the
# COMPILE_WARNING_AS_ERROR property's business: on in our own builds (the
# top-level CMakeLists.txt), the including project's choice otherwise.
function(nimbrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
