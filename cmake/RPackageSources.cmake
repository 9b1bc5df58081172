# The R package's C++ sources (its glue and the core files it carries), compiled as R
# compiles them, here by the build's compiler: the Windows cross build checks that they
# compile for Windows. The package is staged by r/tools/stage-package, so the files are the
# ones its tarball holds. Only compiled: linking needs R's own DLL, which Debian has not.
set(r_headers /usr/share/R/include)
set(rcpp_headers /usr/lib/R/site-library/Rcpp/include)
if(NOT EXISTS ${r_headers}/R.h OR NOT EXISTS ${rcpp_headers}/Rcpp.h)
  message(FATAL_ERROR "The R package's sources need R's and Rcpp's headers: install r-base-dev and r-cran-rcpp")
endif()
set(r_stage ${CMAKE_BINARY_DIR}/r-package)
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/r/tools/stage-package ${r_stage}
  RESULT_VARIABLE staged OUTPUT_QUIET)
if(NOT staged EQUAL 0)
  message(FATAL_ERROR "r/tools/stage-package failed")
endif()
file(GLOB_RECURSE r_sources ${r_stage}/src/*.cpp)
# Staged anew when a source of the package or of the core changes.
file(GLOB_RECURSE r_inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/r/earlylate/src/*
  ${PROJECT_SOURCE_DIR}/r/tools/stage-package)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${r_inputs})
add_library(r_package_sources OBJECT ${r_sources})
target_include_directories(r_package_sources PRIVATE ${r_stage}/src/core ${r_stage}/src)
target_include_directories(r_package_sources SYSTEM PRIVATE ${r_headers} ${rcpp_headers})
target_compile_options(r_package_sources PRIVATE -ffp-contract=off)
# R's headers and Rcpp are held to R's warnings, not to this tree's strict set.
target_compile_options(r_package_sources PRIVATE -Wno-conversion -Wno-sign-conversion -Wno-shadow -Wno-pedantic
  -Wno-cast-function-type)  # the generated RcppExports.cpp casts its entries as R asks
