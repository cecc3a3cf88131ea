# wxWidgets 3.2 from Debian has no CMake package of its own: wrap what
# FindwxWidgets finds in interface targets instead of directory-wide flags.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base)

add_library(nimbrel_wx INTERFACE)
target_include_directories(nimbrel_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(nimbrel_wx INTERFACE ${wxWidgets_DEFINITIONS})
separate_arguments(_nimbrel_wx_flags UNIX_COMMAND "${wxWidgets_CXX_FLAGS}")
list(FILTER _nimbrel_wx_flags EXCLUDE REGEX "^-I")
target_compile_options(nimbrel_wx INTERFACE ${_nimbrel_wx_flags})
target_link_libraries(nimbrel_wx INTERFACE ${wxWidgets_LIBRARIES})

# For console programs and tests that run wx's console event loop.
add_library(nimbrel_wx_console INTERFACE)
target_compile_definitions(nimbrel_wx_console INTERFACE wxUSE_GUI=0)
