# Debian packages, one per install component: `cpack -G DEB` in a build
# folder. Dependencies on system libraries come from dpkg-shlibdeps, those
# between our packages from the component dependencies below.
set(NIMBREL_DEB_CONTACT "Nimbrel_model developers <nimbrel-model@example.org>")
set(NIMBREL_DEB_PACKAGES
  runtime "libnimbrel-model${PROJECT_VERSION_MAJOR}" libs
    "Camera-model module for Nimbrel cameras: shared libraries"
  development libnimbrel-model-dev libdevel
    "Camera-model module for Nimbrel cameras: headers, CMake and pkg-config files"
  apps nimbrel-model-tools video
    "Nimbrel camera tools: nimbrel-demo, nimbrel-viewer, nimbrel-check")
if(TARGET ueye_sim)
  list(APPEND NIMBREL_DEB_PACKAGES simulator nimbrel-model-simulator libs
    "Simulated Nimbrel cameras for the camera-model module")
endif()
if(TARGET nimbrel_model_python)
  list(APPEND NIMBREL_DEB_PACKAGES python python3-nimbrel-model python
    "Camera-model module for Nimbrel cameras: Python 3 binding")
  # The extension is built for one Python version.
  math(EXPR _next_minor "${Python_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}~), \
python3 (<< ${Python_VERSION_MAJOR}.${_next_minor}), python3-numpy")
endif()

# Every package carries its copyright file and a changelog in its own
# documentation folder, as Debian policy asks.
string(TIMESTAMP _nimbrel_deb_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(_nimbrel_deb_components)
set(_rest ${NIMBREL_DEB_PACKAGES})
while(_rest)
  list(POP_FRONT _rest component package section summary)
  list(APPEND _nimbrel_deb_components ${component})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${section})
  set(CPACK_COMPONENT_${upper}_DESCRIPTION "${summary}\n Drives one Nimbrel camera through the camera SDK: live pictures,\n camera parameters, AVI recording and a settings file.")
  set(changelog ${CMAKE_BINARY_DIR}/debian/${package}/changelog)
  file(WRITE ${changelog}
    "${package} (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}.\n\n"
    " -- ${NIMBREL_DEB_CONTACT}  ${_nimbrel_deb_date}\n")
  execute_process(COMMAND gzip -9nf ${changelog})
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${changelog}.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endwhile()

set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_APPS_DEPENDS runtime)
set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
if(TARGET ueye_sim)
  # The simulator stands in for the camera SDK that the module links.
  set(CPACK_COMPONENT_RUNTIME_DEPENDS simulator)
  list(APPEND CPACK_COMPONENT_APPS_DEPENDS simulator)
  list(APPEND CPACK_COMPONENT_PYTHON_DEPENDS simulator)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbrel-model)
set(CPACK_PACKAGE_VENDOR "Nimbrel_model developers")
set(CPACK_PACKAGE_CONTACT "${NIMBREL_DEB_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_COMPONENTS_ALL ${_nimbrel_deb_components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")
# Library packages tell ldconfig through a trigger.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/debian/AppsLayout.cmake)
# Our own libraries, for dpkg-shlibdeps to resolve between our packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
include(CPack)
