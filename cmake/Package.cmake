# The installable package: find_package(Nimbrel_model CONFIG REQUIRED) then
# target_link_libraries(host PRIVATE Nimbrel_model::Nimbrel_model).
include(CMakePackageConfigHelpers)

set(NIMBREL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Nimbrel_model)

install(TARGETS nimbrel_wx Qel ueye_sim Nimbrel_model
  EXPORT Nimbrel_modelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY platform/qel/include/Qel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY platform/ueye_sim/include/ueye_sim DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY module/include/Nimbrel_model DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${NIMBREL_CONFIG_XML} DESTINATION ${CMAKE_INSTALL_DATADIR}/Nimbrel_model)

install(EXPORT Nimbrel_modelTargets NAMESPACE Nimbrel_model:: DESTINATION ${NIMBREL_CMAKE_DIR})
export(EXPORT Nimbrel_modelTargets NAMESPACE Nimbrel_model::
  FILE ${CMAKE_BINARY_DIR}/Nimbrel_modelTargets.cmake)

configure_package_config_file(cmake/Nimbrel_modelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/Nimbrel_modelConfig.cmake
  INSTALL_DESTINATION ${NIMBREL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Nimbrel_modelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Nimbrel_modelConfig.cmake ${CMAKE_BINARY_DIR}/Nimbrel_modelConfigVersion.cmake
  DESTINATION ${NIMBREL_CMAKE_DIR})
