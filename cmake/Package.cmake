# The installable package: find_package(Nimbrel_model CONFIG REQUIRED) then
# target_link_libraries(host PRIVATE Nimbrel_model::Nimbrel_model). In a
# simulator build the simulator comes as its own component and target,
# Nimbrel_model::ueye_sim, for hosts and tests that want its controls.
# Install components: runtime, development, simulator, apps.
include(CMakePackageConfigHelpers)

set(NIMBREL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Nimbrel_model)

install(TARGETS nimbrel_wx Qel Nimbrel_model
  EXPORT Nimbrel_modelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY platform/qel/include/Qel module/include/Nimbrel_model
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(FILES ${NIMBREL_CONFIG_XML} DESTINATION ${CMAKE_INSTALL_DATADIR}/Nimbrel_model COMPONENT development)

install(EXPORT Nimbrel_modelTargets NAMESPACE Nimbrel_model:: DESTINATION ${NIMBREL_CMAKE_DIR}
  COMPONENT development)
export(EXPORT Nimbrel_modelTargets NAMESPACE Nimbrel_model::
  FILE ${CMAKE_BINARY_DIR}/Nimbrel_modelTargets.cmake)

if(NIMBREL_SDK STREQUAL "simulator")
  install(TARGETS ueye_sim
    EXPORT Nimbrel_modelSimulatorTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT simulator NAMELINK_COMPONENT simulator
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(DIRECTORY platform/ueye_sim/include/ueye_sim DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT simulator)
  install(EXPORT Nimbrel_modelSimulatorTargets NAMESPACE Nimbrel_model:: DESTINATION ${NIMBREL_CMAKE_DIR}
    COMPONENT simulator)
  export(EXPORT Nimbrel_modelSimulatorTargets NAMESPACE Nimbrel_model::
    FILE ${CMAKE_BINARY_DIR}/Nimbrel_modelSimulatorTargets.cmake)
endif()

configure_package_config_file(cmake/Nimbrel_modelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/Nimbrel_modelConfig.cmake
  INSTALL_DESTINATION ${NIMBREL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Nimbrel_modelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Nimbrel_modelConfig.cmake ${CMAKE_BINARY_DIR}/Nimbrel_modelConfigVersion.cmake
  DESTINATION ${NIMBREL_CMAKE_DIR} COMPONENT development)
