# Instrumented builds. NIMBREL_SANITIZE ("address,undefined" or "thread")
# instruments every target; NIMBREL_BUILD_FUZZ (clang only) adds coverage for
# libFuzzer and builds the fuzz targets.
if(NIMBREL_SANITIZE)
  add_compile_options(-fsanitize=${NIMBREL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${NIMBREL_SANITIZE})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12's flow analysis misreads the instrumented standard library
    # (std::regex, std::function) as using uninitialised members.
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

option(NIMBREL_BUILD_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(NIMBREL_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "NIMBREL_BUILD_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Coverage feedback from our libraries too, not only from the targets.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Called once every folder is added. Under ThreadSanitizer the module's pixel
# passes, which read the live image while the camera's thread draws the next
# frame into it (a designed race: a picture may mix two frames), are built
# without instrumentation: every pixel of every frame would be a race report
# to sort out and suppress, slowing a recording test from seconds to many
# minutes. Test code that reads the picture still races with the drawing
# thread; tests/tsan.supp suppresses that one race.
function(nimbrel_sanitizer_source_rules)
  if(NIMBREL_SANITIZE MATCHES "thread")
    set_source_files_properties(${PROJECT_SOURCE_DIR}/module/core/PixelOps.cpp
      DIRECTORY ${PROJECT_SOURCE_DIR}/module
      PROPERTIES COMPILE_OPTIONS "-fno-sanitize=thread")
  endif()
endfunction()

# Environment for tests that run an uninstrumented program (Debian's Python,
# gst-launch-1.0) loading our instrumented libraries: under AddressSanitizer
# its runtime has to come first, with the C++ library it intercepts exceptions
# in, and the program's own allocations that live until exit are not leaks of
# ours. Appends to the lists named by `env` and `env_changes`.
function(nimbrel_uninstrumented_host_env env env_changes)
  if(NOT NIMBREL_SANITIZE MATCHES "address")
    return()
  endif()
  set(_preload)
  foreach(_library libasan libstdc++)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_library}.so
      OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    list(APPEND _preload ${_path})
  endforeach()
  list(JOIN _preload ":" _preload)
  set(${env} ${${env}} "LD_PRELOAD=${_preload}" PARENT_SCOPE)
  set(${env_changes} ${${env_changes}} "ASAN_OPTIONS=string_append::detect_leaks=0" PARENT_SCOPE)
endfunction()
