# wxWidgets (base and core) for the module and everything built here.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base)
include(${CMAKE_CURRENT_LIST_DIR}/Nimbrel_modelWx.cmake)
nimbrel_model_wx_target()

# The name our own targets use.
add_library(nimbrel_wx INTERFACE)
target_link_libraries(nimbrel_wx INTERFACE Nimbrel_model::wx)

# For console programs and tests that run wx's console event loop.
add_library(nimbrel_wx_console INTERFACE)
target_compile_definitions(nimbrel_wx_console INTERFACE wxUSE_GUI=0)
