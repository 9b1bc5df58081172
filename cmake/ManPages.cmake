# Man pages of the executables, made from their --help by help2man and compressed as
# Debian wants them. Without help2man the build and the install go on without them, and a
# sanitizer build makes none.
find_program(EARLYLATE_HELP2MAN help2man)
find_program(EARLYLATE_GZIP gzip)

set(earlylate_man_name_earlylate "workbench window that forecasts the spread of an alien species")
set(earlylate_man_name_earlylate-batch "forecast the spread of an alien species from a vector file, without a window")
set(earlylate_man_name_earlylate-convert "convert GIS layers to earlylate vector files and back")

function(earlylate_man_pages)
  # A sanitizer build is for the tests, not for installing.
  if(EARLYLATE_SANITIZE)
    return()
  endif()
  if(NOT EARLYLATE_HELP2MAN OR NOT EARLYLATE_GZIP)
    message(STATUS "help2man or gzip not found: no man pages")
    return()
  endif()
  set(pages)
  foreach(program IN LISTS ARGN)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    # QT_QPA_PLATFORM: the window answers --help before it opens, but never needs a display.
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
        ${EARLYLATE_HELP2MAN} --no-info --no-discard-stderr --section=1
        --version-string=${PROJECT_VERSION} --name=${earlylate_man_name_${program}}
        --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${EARLYLATE_GZIP} -9 -n -f ${page}
      DEPENDS ${program}
      COMMENT "Man page of ${program}"
      VERBATIM)
    list(APPEND pages ${page}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
endfunction()
