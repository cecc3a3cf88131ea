# wxWidgets 3.2 from Debian has no CMake package of its own: what
# FindwxWidgets finds is wrapped in the imported interface target
# Nimbrel_model::wx instead of directory-wide flags. Used by the module's own
# build and, installed, by its package configuration, which so finds
# wxWidgets again on the machine that uses the package.
include_guard(GLOBAL)

function(nimbrel_model_wx_target)
  if(TARGET Nimbrel_model::wx)
    return()
  endif()
  add_library(Nimbrel_model::wx INTERFACE IMPORTED GLOBAL)
  separate_arguments(flags UNIX_COMMAND "${wxWidgets_CXX_FLAGS}")
  list(FILTER flags EXCLUDE REGEX "^-I")
  set_target_properties(Nimbrel_model::wx PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${wxWidgets_INCLUDE_DIRS}"
    INTERFACE_COMPILE_DEFINITIONS "${wxWidgets_DEFINITIONS}"
    INTERFACE_COMPILE_OPTIONS "${flags}"
    INTERFACE_LINK_LIBRARIES "${wxWidgets_LIBRARIES}")
endfunction()
