# Which camera SDK the module links: the simulator built here (default) or the
# camera maker's two libraries, ueye_api (camera) and ueye_tools (AVI files).
# A vendor build compiles the module against the maker's own ueye.h when it is
# at hand (NIMBREL_SDK_INCLUDE, by default NIMBREL_SDK_ROOT/include), else
# against platform/ueye_api, our declarations, which the simulator implements.
set(NIMBREL_SDK simulator CACHE STRING "Camera SDK the module links: simulator or vendor")
set_property(CACHE NIMBREL_SDK PROPERTY STRINGS simulator vendor)
set(NIMBREL_SDK_ROOT "" CACHE PATH "Vendor SDK: folder holding (lib/, lib64/ or itself) libueye_api and libueye_tools")
set(NIMBREL_SDK_INCLUDE "" CACHE PATH "Vendor SDK: folder holding the camera maker's ueye.h (default: NIMBREL_SDK_ROOT/include)")

if(NIMBREL_SDK STREQUAL "vendor")
  set(_sdk_hints)
  if(NIMBREL_SDK_ROOT)
    set(_sdk_hints ${NIMBREL_SDK_ROOT}/lib ${NIMBREL_SDK_ROOT}/lib64 ${NIMBREL_SDK_ROOT})
  endif()
  if(NOT "${NIMBREL_SDK_ROOT}" STREQUAL "${_NIMBREL_SDK_ROOT_SEARCHED}")
    unset(NIMBREL_UEYE_API_LIBRARY CACHE)
    unset(NIMBREL_UEYE_TOOLS_LIBRARY CACHE)
    set(_NIMBREL_SDK_ROOT_SEARCHED "${NIMBREL_SDK_ROOT}" CACHE INTERNAL "")
  endif()
  set(_sdk_missing)
  foreach(lib ueye_api ueye_tools)
    string(TOUPPER ${lib} _var)
    find_library(NIMBREL_${_var}_LIBRARY NAMES ${lib} HINTS ${_sdk_hints})
    if(NOT NIMBREL_${_var}_LIBRARY)
      list(APPEND _sdk_missing lib${lib}.so)
    endif()
  endforeach()
  if(_sdk_missing)
    list(JOIN _sdk_missing " and " _sdk_missing)
    message(FATAL_ERROR "NIMBREL_SDK=vendor: ${_sdk_missing} not found under NIMBREL_SDK_ROOT="
      "\"${NIMBREL_SDK_ROOT}\" (its lib/, lib64/ or the folder itself) nor on the system's library path. "
      "Point NIMBREL_SDK_ROOT at the camera SDK's installation.")
  endif()
  set(NIMBREL_SDK_LIBRARIES ${NIMBREL_UEYE_API_LIBRARY} ${NIMBREL_UEYE_TOOLS_LIBRARY})
  # Where the module and the hosts find the maker's libraries at run time (and
  # the linker, when it links a host against the installed module).
  get_filename_component(NIMBREL_SDK_LIBDIR ${NIMBREL_UEYE_API_LIBRARY} DIRECTORY)
  message(STATUS "Camera SDK: vendor, ${NIMBREL_SDK_LIBRARIES}")

  set(NIMBREL_SDK_HEADER_DIR ${NIMBREL_SDK_INCLUDE})
  if(NOT NIMBREL_SDK_HEADER_DIR AND NIMBREL_SDK_ROOT AND EXISTS ${NIMBREL_SDK_ROOT}/include/ueye.h)
    set(NIMBREL_SDK_HEADER_DIR ${NIMBREL_SDK_ROOT}/include)
  endif()
  if(NIMBREL_SDK_HEADER_DIR)
    if(NOT EXISTS ${NIMBREL_SDK_HEADER_DIR}/ueye.h)
      message(FATAL_ERROR "NIMBREL_SDK_INCLUDE=\"${NIMBREL_SDK_INCLUDE}\" holds no ueye.h")
    endif()
    message(STATUS "Camera SDK header: ${NIMBREL_SDK_HEADER_DIR}/ueye.h, the camera maker's")
  else()
    message(STATUS "Camera SDK header: ${PROJECT_SOURCE_DIR}/platform/ueye_api/include/ueye.h, our own declarations "
      "(no ueye.h in NIMBREL_SDK_ROOT/include: set NIMBREL_SDK_INCLUDE to the maker's)")
  endif()
elseif(NIMBREL_SDK STREQUAL "simulator")
  if(NIMBREL_SDK_INCLUDE)
    message(FATAL_ERROR "NIMBREL_SDK_INCLUDE needs NIMBREL_SDK=vendor: the simulator implements "
      "platform/ueye_api's declarations, and the module is built against them")
  endif()
  set(NIMBREL_SDK_HEADER_DIR)
  set(NIMBREL_SDK_LIBRARIES ueye_sim)
  set(NIMBREL_SDK_LIBDIR)
  message(STATUS "Camera SDK: simulator")
else()
  message(FATAL_ERROR "NIMBREL_SDK must be simulator or vendor, not \"${NIMBREL_SDK}\"")
endif()
