# The R package's C++ sources (its glue and the core files it carries), compiled as R
# compiles them, here by the build's compiler: the Windows cross build checks that they
# compile for Windows. The core's files are those r/earlylate/tools/core-sources.txt lists,
# the list the package's own build reads (r/tools/check-core-sources checks it against the
# tree). Only compiled: linking needs R's own DLL, which Debian has not.
set(r_headers /usr/share/R/include)
set(rcpp_headers /usr/lib/R/site-library/Rcpp/include)
if(NOT EXISTS ${r_headers}/R.h OR NOT EXISTS ${rcpp_headers}/Rcpp.h)
  message(FATAL_ERROR "The R package's sources need R's and Rcpp's headers: install r-base-dev and r-cran-rcpp")
endif()
set(r_package ${PROJECT_SOURCE_DIR}/r/earlylate)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${r_package}/tools/core-sources.txt)
file(STRINGS ${r_package}/tools/core-sources.txt r_core_lines)
set(r_sources)
foreach(line IN LISTS r_core_lines)
  string(REGEX REPLACE "#.*" "" file "${line}")
  string(STRIP "${file}" file)
  if(file MATCHES "\\.cpp$")
    list(APPEND r_sources ${PROJECT_SOURCE_DIR}/${file})
  endif()
endforeach()
file(GLOB r_glue CONFIGURE_DEPENDS ${r_package}/src/*.cpp)
add_library(r_package_sources OBJECT ${r_sources} ${r_glue})
target_include_directories(r_package_sources PRIVATE ${PROJECT_SOURCE_DIR} ${r_package}/src)
target_include_directories(r_package_sources SYSTEM PRIVATE ${r_headers} ${rcpp_headers})
target_compile_options(r_package_sources PRIVATE -ffp-contract=off)
# Nothing of it is linked or run here, so there is no code to optimise or debug: unoptimised
# and without debug information it compiles in about two thirds of the time.
target_compile_options(r_package_sources PRIVATE -O0 -g0)
# R's headers and Rcpp are held to R's warnings, not to this tree's strict set.
target_compile_options(r_package_sources PRIVATE -Wno-conversion -Wno-sign-conversion -Wno-shadow -Wno-pedantic
  -Wno-cast-function-type)  # the generated RcppExports.cpp casts its entries as R asks
