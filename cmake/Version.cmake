# <Nimbrel_model/Version.h>, generated from project(VERSION) for the module's
# build tree and installed beside the public headers.
set(NIMBREL_GENERATED_INCLUDE ${PROJECT_BINARY_DIR}/generated/include)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${NIMBREL_GENERATED_INCLUDE}/Nimbrel_model/Version.h @ONLY)
