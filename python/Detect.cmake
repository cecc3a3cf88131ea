# Finds what the Python binding needs, for the default of NIMBREL_BUILD_PYTHON:
# sets NIMBREL_PYTHON_FOUND. Debian's own interpreter comes first: another one
# on the PATH (pyenv, conda) sees none of the python3-* packages (numpy,
# wxPython, pytest) that the binding and its tests use.
set(NIMBREL_PYTHON_FOUND OFF)
if(PROJECT_IS_TOP_LEVEL)
  if(NOT Python_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "Python interpreter the binding is built for")
  endif()
  find_package(Python 3 QUIET COMPONENTS Interpreter Development.Module)
  if(Python_FOUND)
    find_package(pybind11 2.6 CONFIG QUIET)
    set(NIMBREL_PYTHON_FOUND ${pybind11_FOUND})
  endif()
endif()
