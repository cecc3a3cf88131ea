# `cmake --build build --target docs`: the HTML API reference in build/docs,
# failing on any Doxygen warning (an undocumented public member among them).
find_program(NIMBREL_DOXYGEN doxygen)
if(NIMBREL_DOXYGEN)
  add_custom_target(docs
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-docs ${PROJECT_BINARY_DIR}/docs
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Building the API reference"
    VERBATIM)
endif()
