# What a cross build for Windows takes from the build machine: the wine launcher its tests
# run through, the header-only JSON library, and GoogleTest compiled from Debian's sources
# by the cross compiler.
find_program(EARLYLATE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT EARLYLATE_WINE)
  message(FATAL_ERROR "The Windows tests run under wine: install wine64 (scripts/install-deps)")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# nlohmann-json is headers alone: its folder is linked into the build folder, so that the
# cross compiler sees it without the build machine's other headers.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(CREATE_LINK /usr/include/nlohmann ${host_headers}/nlohmann SYMBOLIC)
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/nlohmann_json-config.cmake
  "if(NOT TARGET nlohmann_json::nlohmann_json)\n"
  "  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)\n"
  "  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})\n"
  "endif()\n")
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/nlohmann_json-config-version.cmake
  "set(PACKAGE_VERSION 3.11.2)\nset(PACKAGE_VERSION_COMPATIBLE TRUE)\n")

if(EARLYLATE_TESTS)
  set(EARLYLATE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian's googletest package)")
  if(NOT EXISTS ${EARLYLATE_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are not in ${EARLYLATE_GTEST_SOURCE}: install googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${EARLYLATE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
