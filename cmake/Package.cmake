# The installable package: find_package(Nimbrel_model CONFIG REQUIRED) then
# target_link_libraries(host PRIVATE Nimbrel_model::Nimbrel_model). In a
# simulator build the simulator comes as its own target,
# Nimbrel_model::ueye_sim, for hosts and tests that want its controls.
# Install components: one per shared library (runtime: the module, qel: the
# helper library, simulator), development (headers, library links, CMake and
# pkg-config files) and apps (the tools).
include(CMakePackageConfigHelpers)

set(NIMBREL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Nimbrel_model)
# The shipped settings file, once: where the tools and the binding seed each
# user's settings from, and what hosts copy beside themselves.
set(NIMBREL_SHARED_CONFIG ${CMAKE_INSTALL_DATADIR}/nimbrel-model/config.xml)

if(NIMBREL_INSTALL)
  install(TARGETS Qel EXPORT Nimbrel_modelTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT qel NAMELINK_COMPONENT development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(TARGETS Nimbrel_model Nimbrel_model_console EXPORT Nimbrel_modelTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/qel/include/Qel ${PROJECT_SOURCE_DIR}/module/include/Nimbrel_model
    ${NIMBREL_GENERATED_INCLUDE}/Nimbrel_model
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
  install(FILES ${NIMBREL_CONFIG_XML} DESTINATION ${CMAKE_INSTALL_DATADIR}/nimbrel-model COMPONENT data)

  install(EXPORT Nimbrel_modelTargets NAMESPACE Nimbrel_model:: DESTINATION ${NIMBREL_CMAKE_DIR}
    COMPONENT development)
  # The same package in the build tree (find_package with the build folder).
  export(EXPORT Nimbrel_modelTargets NAMESPACE Nimbrel_model::
    FILE ${PROJECT_BINARY_DIR}/Nimbrel_modelTargets.cmake)
endif()

if(NIMBREL_SDK STREQUAL "simulator")
  if(NIMBREL_INSTALL)
    install(TARGETS ueye_sim
      EXPORT Nimbrel_modelSimulatorTargets
      LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT simulator NAMELINK_COMPONENT development
      INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/ueye_sim/include/ueye_sim
      DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
    install(EXPORT Nimbrel_modelSimulatorTargets NAMESPACE Nimbrel_model:: DESTINATION ${NIMBREL_CMAKE_DIR}
      COMPONENT development)
    export(EXPORT Nimbrel_modelSimulatorTargets NAMESPACE Nimbrel_model::
      FILE ${PROJECT_BINARY_DIR}/Nimbrel_modelSimulatorTargets.cmake)
  endif()
endif()

# Two copies: the build tree's falls back on the source tree's configuration,
# the installed one holds no path of this machine.
set(NIMBREL_CONFIG_XML_IN_TREE ${NIMBREL_CONFIG_XML})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Nimbrel_modelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/Nimbrel_modelConfig.cmake
  INSTALL_DESTINATION ${NIMBREL_CMAKE_DIR}
  PATH_VARS NIMBREL_SHARED_CONFIG)
set(NIMBREL_CONFIG_XML_IN_TREE "")
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Nimbrel_modelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/installed/Nimbrel_modelConfig.cmake
  INSTALL_DESTINATION ${NIMBREL_CMAKE_DIR}
  PATH_VARS NIMBREL_SHARED_CONFIG)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Nimbrel_modelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
# The wxWidgets wrapper, beside the configuration in the build tree too.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Nimbrel_modelWx.cmake ${PROJECT_BINARY_DIR}/Nimbrel_modelWx.cmake COPYONLY)
if(NIMBREL_INSTALL)
  install(FILES ${PROJECT_BINARY_DIR}/installed/Nimbrel_modelConfig.cmake
    ${PROJECT_BINARY_DIR}/Nimbrel_modelConfigVersion.cmake
    ${CMAKE_CURRENT_LIST_DIR}/Nimbrel_modelWx.cmake
    DESTINATION ${NIMBREL_CMAKE_DIR} COMPONENT development)
endif()
