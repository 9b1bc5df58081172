# The headers a program built on the installed core includes: the entries below, and every
# project header they include, directly or through others (found here, so the set installed
# always compiles). Everything else stays internal to the libraries.
set(earlylate_public_headers
  # Talking to the core: settings, log lines, messages, progress and stopping.
  base/settings.hpp
  base/log_sink.hpp
  base/log_file.hpp
  base/messenger.hpp
  base/feedback.hpp
  base/cancel.hpp
  # Reading a vector file (or, with GDAL, a GIS layer or a records table) into a data set.
  vector/vector_file.hpp
  gis/read_source.hpp
  # A run: its request, the engine, its typed result and its errors.
  engine/run/engine.hpp
  engine/model/run_result.hpp
  engine/model/run_error.hpp
  # Figures of a run's result, and writing them as files.
  figures/map_figure.hpp
  figures/fit_figure.hpp
  figures/figure_file.hpp)

# OUT := the headers named, and every project header they include, sorted. Fails when an
# include names a project header that is not there.
function(earlylate_public_header_closure out)
  set(found "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST found)
      continue()
    endif()
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${header})
      message(FATAL_ERROR "public header ${header} is not in the source tree")
    endif()
    list(APPEND found ${header})
    file(STRINGS ${PROJECT_SOURCE_DIR}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
