# nimbrel_model.pc, so that a Makefile host builds with
# `pkg-config --cflags --libs nimbrel_model`. Relocatable: the prefix is found
# from the file's own place. wxWidgets has no .pc file on Debian, so its flags
# are written out as FindwxWidgets found them.
set(NIMBREL_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH NIMBREL_PC_TO_PREFIX /prefix/${NIMBREL_PC_DIR} /prefix)
string(REGEX REPLACE "/$" "" NIMBREL_PC_TO_PREFIX "${NIMBREL_PC_TO_PREFIX}")

set(_nimbrel_pc_cflags)
# -isystem, as CMake hosts get them: wx's headers are not the host's to warn about.
foreach(dir IN LISTS wxWidgets_INCLUDE_DIRS)
  list(APPEND _nimbrel_pc_cflags "-isystem ${dir}")
endforeach()
foreach(definition IN LISTS wxWidgets_DEFINITIONS)
  list(APPEND _nimbrel_pc_cflags "-D${definition}")
endforeach()
get_target_property(_nimbrel_wx_flags Nimbrel_model::wx INTERFACE_COMPILE_OPTIONS)
if(_nimbrel_wx_flags)
  list(APPEND _nimbrel_pc_cflags ${_nimbrel_wx_flags})
endif()
list(REMOVE_DUPLICATES _nimbrel_pc_cflags)
list(JOIN _nimbrel_pc_cflags " " NIMBREL_PC_WX_CFLAGS)
set(_nimbrel_pc_libs ${wxWidgets_LIBRARIES})
list(FILTER _nimbrel_pc_libs EXCLUDE REGEX "^$|^-L/usr/lib")
list(JOIN _nimbrel_pc_libs " " NIMBREL_PC_WX_LIBS)

configure_file(${CMAKE_CURRENT_LIST_DIR}/nimbrel_model.pc.in ${PROJECT_BINARY_DIR}/nimbrel_model.pc @ONLY)
# A console host takes nimbrel_model-console: the same, with wxUSE_GUI=0,
# without which its event loop never runs the recording timer.
configure_file(${CMAKE_CURRENT_LIST_DIR}/nimbrel_model-console.pc.in ${PROJECT_BINARY_DIR}/nimbrel_model-console.pc
  @ONLY)
if(NIMBREL_INSTALL)
  install(FILES ${PROJECT_BINARY_DIR}/nimbrel_model.pc ${PROJECT_BINARY_DIR}/nimbrel_model-console.pc
    DESTINATION ${NIMBREL_PC_DIR} COMPONENT development)
endif()
