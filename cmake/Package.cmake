# The Debian package (scripts/package): the "runtime" component, that is the window, the
# batch runner, the converter, their man pages, the desktop entry and icon, the docs and
# the samples. Depends are found by dpkg-shlibdeps from the libraries the executables link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME earlylate)
set(CPACK_PACKAGE_VENDOR "The earlylate developers")
set(CPACK_PACKAGE_CONTACT "earlylate developers <earlylate@localhost.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "forecasts of alien species spread by early-late relationship")
# The synopsis is the summary above; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A desktop workbench (Qt 6) and a headless batch runner with which ecologists
forecast where and when an alien species will arrive next, from the order in
which other species reached the same regions: early-late matrix between
regions, principal eigenvector scores, the fit of the target's known dates,
predicted dates, fluctuation trials and a weighting grid. A converter turns
GIS layers into the tool's vector files and back. Sample data sets are in
/usr/share/earlylate/data.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Only the runtime component: the libraries, headers and CMake package are for cmake --install.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The country names of --country-codes are looked up in the iso-codes data, read at run time
# (the libraries dpkg-shlibdeps finds are added to this list).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "iso-codes")
# The window sets its captions in Carlito and its CJK texts in Noto; the figures find the
# fonts of Thai, Devanagari, Arabic and the other scripts of region names in Noto.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-carlito, fonts-noto-cjk, fonts-noto-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
