# Run by CPack once the packages are staged. Debian keeps no folder in
# /usr/bin, and the hosts find res/config.xml beside their executable: they
# move to /usr/lib/nimbrel-model, with links from /usr/bin.
set(stage "${CPACK_TEMPORARY_DIRECTORY}/apps/usr")
if(EXISTS "${stage}/bin/res")
  file(MAKE_DIRECTORY "${stage}/lib/nimbrel-model")
  file(GLOB entries RELATIVE "${stage}/bin" "${stage}/bin/*")
  foreach(name IN LISTS entries)
    file(RENAME "${stage}/bin/${name}" "${stage}/lib/nimbrel-model/${name}")
    if(NOT name STREQUAL "res")
      file(CREATE_LINK "../lib/nimbrel-model/${name}" "${stage}/bin/${name}" SYMBOLIC)
    endif()
  endforeach()
endif()
