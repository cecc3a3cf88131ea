# Run by CPack once the packages are built. CPack gives every package with a
# library below /usr/lib postinst and postrm scripts that call ldconfig;
# Debian runs ldconfig by trigger instead (the library packages ship one), so
# those scripts are taken out again.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb -R "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  set(changed FALSE)
  foreach(script postinst postrm)
    if(EXISTS "${tree}/DEBIAN/${script}")
      file(STRINGS "${tree}/DEBIAN/${script}" commands REGEX "^[ \t]*[^#]")
      list(FILTER commands EXCLUDE REGEX "^[ \t]*(set -e|ldconfig|if .*configure.*then|if .*remove.*then|fi)[ \t]*$")
      if(NOT commands)
        file(REMOVE "${tree}/DEBIAN/${script}")
        set(changed TRUE)
      endif()
    endif()
  endforeach()
  if(changed)
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -b "${tree}" "${deb}"
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE "${tree}")
endforeach()
