# Manual pages of the tools, made at build time by help2man from each tool's
# --help and installed compressed, as Debian wants them. Instrumented builds
# make none: their tools are not run while building.
if(NIMBREL_BUILD_MAN AND NOT NIMBREL_SANITIZE)
  find_program(NIMBREL_HELP2MAN help2man)
  if(NOT NIMBREL_HELP2MAN)
    message(FATAL_ERROR "help2man not found: run scripts/install-deps, or configure with -DNIMBREL_BUILD_MAN=OFF")
  endif()
endif()

# nimbrel_man_page(target "what the tool is, for the NAME section"). Every
# tool's --help works without a display.
function(nimbrel_man_page target summary)
  if(NOT NIMBREL_HELP2MAN OR NIMBREL_SANITIZE OR NOT TARGET ${target})
    return()
  endif()
  set(dir ${PROJECT_BINARY_DIR}/man)
  set(page ${dir}/${target}.1)
  set(program $<TARGET_FILE:${target}>)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${NIMBREL_HELP2MAN} --no-info --no-discard-stderr --section=1 --source=${PROJECT_NAME}
      --version-string=${PROJECT_VERSION} --name=${summary} --output=${page} ${program}
    COMMAND gzip -9nf ${page}
    DEPENDS ${target}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page}.gz)
  if(NIMBREL_INSTALL)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT apps)
  endif()
endfunction()
