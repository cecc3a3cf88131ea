# Debian packages, one per install component: `cpack -G DEB` in a build
# folder. Dependencies on system libraries come from dpkg-shlibdeps, those
# between our packages from the component dependencies below.
set(NIMBREL_DEB_MAINTAINER "Nimbrel_model developers <nimbrel-model@example.org>"
  CACHE STRING "Maintainer field of the Debian packages")

# component, package, section, summary. A shared library's package is named
# after its soname, as Debian policy asks.
set(NIMBREL_DEB_PACKAGES
  runtime "libnimbrel-model${PROJECT_VERSION_MAJOR}" libs
    "Camera-model module for Nimbrel cameras: the module's shared library"
  qel "libqel${PROJECT_VERSION_MAJOR}" libs
    "Camera-model module for Nimbrel cameras: the helper library Qel"
  development libnimbrel-model-dev libdevel
    "Camera-model module for Nimbrel cameras: headers, CMake and pkg-config files"
  apps nimbrel-model-tools video
    "Nimbrel camera tools: nimbrel-demo, nimbrel-viewer, nimbrel-check")
if(TARGET ueye_sim)
  list(APPEND NIMBREL_DEB_PACKAGES simulator "libueye-sim${PROJECT_VERSION_MAJOR}" libs
    "Simulated Nimbrel cameras for the camera-model module")
endif()
# The shipped settings file, once, for the tools, the binding and hosts alike.
list(APPEND NIMBREL_DEB_PACKAGES data nimbrel-model-data video
  "Camera-model module for Nimbrel cameras: the shipped settings file")
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
list(APPEND CPACK_COMPONENT_APPS_DEPENDS data)
list(APPEND CPACK_COMPONENT_PYTHON_DEPENDS data)
if(TARGET nimbrel_model_python)
  list(APPEND NIMBREL_DEB_PACKAGES python python3-nimbrel-model python
    "Camera-model module for Nimbrel cameras: Python 3 binding")
  # The extension is built for one Python version.
  math(EXPR _next_minor "${Python_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}~), \
python3 (<< ${Python_VERSION_MAJOR}.${_next_minor}), python3-numpy")
  # What the examples under its documentation folder use.
  set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS "python3-wxgtk4.0, python3-matplotlib")
endif()

if(TARGET gstnimbrel)
  list(APPEND NIMBREL_DEB_PACKAGES gstreamer gstreamer1.0-nimbrel video
    "Camera-model module for Nimbrel cameras: GStreamer source element nimbrelsrc")
  list(APPEND CPACK_COMPONENT_GSTREAMER_DEPENDS data)
endif()

# The copyright file in Debian's machine-readable format, from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _nimbrel_license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${_nimbrel_license}")
set(_nimbrel_holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "\n+$" "" _nimbrel_license "${_nimbrel_license}")
string(REGEX REPLACE "\n\n" "\n.\n" _nimbrel_license "${_nimbrel_license}")
string(REGEX REPLACE "\n" "\n " _nimbrel_license "${_nimbrel_license}")
set(_nimbrel_copyright ${PROJECT_BINARY_DIR}/debian/copyright)
file(WRITE ${_nimbrel_copyright}
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: ${PROJECT_NAME}\n"
  "Upstream-Contact: ${NIMBREL_DEB_MAINTAINER}\n\n"
  "Files: *\n"
  "Copyright: ${_nimbrel_holder}\n"
  "License: Expat\n"
  " ${_nimbrel_license}\n")

# Every package carries the copyright file and a changelog in its own
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
  # The summary is the synopsis line.
  set(CPACK_COMPONENT_${upper}_DESCRIPTION "${summary}\nThe camera-model module drives one Nimbrel camera through the camera SDK:\nlive pictures, camera parameters, AVI recording and a settings file.")
  set(changelog ${PROJECT_BINARY_DIR}/debian/${package}/changelog)
  file(WRITE ${changelog}
    "${package} (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}.\n\n"
    " -- ${NIMBREL_DEB_MAINTAINER}  ${_nimbrel_deb_date}\n")
  execute_process(COMMAND gzip -9nf ${changelog})
  install(FILES ${_nimbrel_copyright} ${changelog}.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endwhile()

# Each library package depends on the libraries it links, nothing more; the
# development package on every library and on wxWidgets' development files,
# which the package configuration finds again.
set(CPACK_COMPONENT_RUNTIME_DEPENDS qel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime qel data)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libwxgtk3.2-dev")
list(APPEND CPACK_COMPONENT_APPS_DEPENDS runtime qel)
list(APPEND CPACK_COMPONENT_PYTHON_DEPENDS runtime qel)
list(APPEND CPACK_COMPONENT_GSTREAMER_DEPENDS runtime qel)
if(TARGET ueye_sim)
  # The simulator stands in for the camera SDK that the module links.
  list(APPEND CPACK_COMPONENT_RUNTIME_DEPENDS simulator)
  list(APPEND CPACK_COMPONENT_DEVELOPMENT_DEPENDS simulator)
  list(APPEND CPACK_COMPONENT_APPS_DEPENDS simulator)
  list(APPEND CPACK_COMPONENT_PYTHON_DEPENDS simulator)
  list(APPEND CPACK_COMPONENT_GSTREAMER_DEPENDS simulator)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbrel-model)
set(CPACK_PACKAGE_VENDOR "Nimbrel_model developers")
set(CPACK_PACKAGE_CONTACT "${NIMBREL_DEB_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Empty: each package's synopsis is its own summary above.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_COMPONENTS_ALL ${_nimbrel_deb_components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# Library packages tell ldconfig through a trigger, not from maintainer
# scripts, and carry the shlibs file that lets other packages depend on them.
# Written here per package rather than generated by CPack, which would look
# at every shared object, the Python extension too, and warn that it has no
# soname (extensions have none).
set(_rest runtime Nimbrel_model qel Qel simulator ueye_sim)
while(_rest)
  list(POP_FRONT _rest component library)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  if(NOT package)
    continue()
  endif()
  set(shlibs ${PROJECT_BINARY_DIR}/debian/${package}/shlibs)
  file(WRITE ${shlibs} "lib${library} ${PROJECT_VERSION_MAJOR} ${package} (= ${PROJECT_VERSION})\n")
  set(CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers ${shlibs})
endwhile()
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/NoLdconfigScripts.cmake)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Our own libraries, for dpkg-shlibdeps to resolve between our packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
include(CPack)
