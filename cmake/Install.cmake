# What `cmake --install` puts into a prefix: the executables, the core libraries with their
# headers (under include/earlylate/) and the CMake package that finds them as earlylate::
# targets, the desktop entry and icon, man pages, the licence, the docs and the samples.
#
# Components: "runtime" (what a user of the tools needs; the Debian package holds it) and
# "development" (libraries, headers, CMake package).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(EARLYLATE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/earlylate)
set(EARLYLATE_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/earlylate)

# The core libraries; gis only where GDAL was found.
set(earlylate_core_libraries base vector engine figures read_source)
if(TARGET gis)
  list(APPEND earlylate_core_libraries gis)
endif()

install(TARGETS ${earlylate_core_libraries} EXPORT earlylateTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
# The public headers (cmake/PublicHeaders.cmake): what a program needs to read a vector file,
# run a forecast and draw its figures, with the project headers they include.
include(${CMAKE_CURRENT_LIST_DIR}/PublicHeaders.cmake)
earlylate_public_header_closure(earlylate_installed_headers ${earlylate_public_headers})
foreach(header IN LISTS earlylate_installed_headers)
  get_filename_component(header_folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/earlylate/${header_folder}
    COMPONENT development)
endforeach()

install(EXPORT earlylateTargets NAMESPACE earlylate:: DESTINATION ${EARLYLATE_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/earlylateConfig.cmake.in
  ${CMAKE_BINARY_DIR}/earlylateConfig.cmake INSTALL_DESTINATION ${EARLYLATE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/earlylateConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/earlylateConfig.cmake ${CMAKE_BINARY_DIR}/earlylateConfigVersion.cmake
  ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${EARLYLATE_CMAKE_DIR} COMPONENT development)

# The executables.
set(earlylate_programs earlylate-batch)
if(TARGET earlylate-convert)
  list(APPEND earlylate_programs earlylate-convert)
endif()
if(TARGET earlylate)
  list(APPEND earlylate_programs earlylate)
endif()
install(TARGETS ${earlylate_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

# Man pages made from each program's --help.
include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
earlylate_man_pages(${earlylate_programs})

# Desktop entry and icon (the window only), licence, docs and the bundled samples.
if(TARGET earlylate)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/earlylate.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT runtime)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/earlylate.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT runtime)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/earlylate.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps COMPONENT runtime)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
# The changelog a Debian package carries, compressed as Debian wants it.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
find_program(EARLYLATE_GZIP gzip)
if(EARLYLATE_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${EARLYLATE_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog)
  add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${EARLYLATE_SHARE_DIR}/data COMPONENT runtime
  FILES_MATCHING PATTERN "*.csv")
