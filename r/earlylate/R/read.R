# A vector file, or the first layer of a GIS file sf reads, as an sf data frame.

#' Read a vector file or a GIS file as an sf data frame
#'
#' Reads a file as the earlylate Read step does: a vector file (UTF-8 with or without a byte
#' order mark, else the encoding the uchardet detector names, or the encoding named) or the first
#' layer of any GIS file the sf package reads (names from a field called \code{name}, else the
#' feature ids; every other field a species). Needs sf, which the package only suggests. Nothing is
#' written to any file.
#'
#' @param path the file.
#' @param encoding \code{"auto"}, or the iconv name of a vector file's encoding.
#' @param format_check \code{TRUE} runs the reader's duplicate-name and crossing-boundary
#'   checks (the setting \code{skipformatcheck} off).
#' @return An sf data frame with one feature per region in file order: \code{name}, then one column per
#' species named as in the file, numbers where every value present is one, else the texts
#' (dates and keywords such as \code{"NotYetArrived"}); missing values are \code{NA}. The
#' attribute \code{earlylate_file} names the file for the log of a forecast.
#'
#' A file that \code{"auto"} did not read as UTF-8 gives a message of class
#' \code{earlylate_message} naming the encoding assumed; region names used more than once give a
#' warning of class \code{earlylate_warning}, whatever \code{format_check} says. A file that
#' cannot be read raises an error of class \code{earlylate_error}.
#' @examples
#' if (requireNamespace("sf", quietly = TRUE)) {
#'   regions <- el_read(system.file("extdata", "sample.csv", package = "earlylate"))
#'   regions[, c("name", "Invader")]
#' }
#' @export
el_read <- function() {
  if (!is.character(path) || length(path) != 1) stop("path must name one file", call. = FALSE)
  .el_need_sf("el_read")
  path <- path.expand(path)
  out <- el_read_cpp(enc2utf8(path), encoding, isTRUE(format_check))
  crs <- sf::NA_crs_
  if (isTRUE(out$gis)) {
    layer <- .el_read_layer(path)
    out <- el_read_layer_cpp(layer$names, layer$columns, layer$geometry, enc2utf8(basename(path)),
                             layer$comment, isTRUE(format_check))
    crs <- layer$crs
  }
  .el_stop_on_failure(out)
  for (text in out$messages) warning(text, call. = FALSE)
  for (text in out$notices)
    message(structure(class = c("earlylate_message", "message", "condition"),
                      list(message = paste0(text, "\n"), call = NULL)))
  .el_warn_input(out$warnings)
  frame <- structure(c(list(name = out$name), out$values), class = "data.frame",
                     row.names = seq_along(out$name))
  geometry <- sf::st_as_sfc(structure(out$geometry, class = "WKB"), EWKB = FALSE, crs = crs)
  x <- sf::st_sf(frame, geometry = geometry)
  attr(x, "earlylate_file") <- basename(path)
  x
}
formals(el_read) <- .el_read_formals

.el_need_sf <- function(what) {
  if (!requireNamespace("sf", quietly = TRUE))
    stop(sprintf("%s needs the sf package: install.packages(\"sf\")", what), call. = FALSE)
}

# The first layer of a GIS file taken apart as a converted vector file holds it: the region
# names from the field "name" (else any case of it, else the feature ids), every other
# attribute a species, integers in full, dates as decimal years, anything else as text.
.el_read_layer <- function(path) {
  file <- basename(path)
  fail <- function(e) stop(sprintf("Cannot read %s: %s", file, conditionMessage(e)), call. = FALSE)
  layers <- tryCatch(sf::st_layers(path), error = fail)
  if (length(layers$name) == 0) stop(sprintf("Cannot read %s: it holds no layer", file), call. = FALSE)
  layer <- layers$name[1]
  x <- tryCatch(sf::st_read(path, layer = layer, quiet = TRUE, stringsAsFactors = FALSE, promote_to_multi = FALSE,
                            fid_column_name = ".el_fid"), error = fail)
  fids <- x$.el_fid
  geometry <- unclass(sf::st_as_binary(sf::st_geometry(x), EWKB = FALSE))
  values <- sf::st_drop_geometry(x)
  values$.el_fid <- NULL
  name_field <- match("name", names(values))
  if (is.na(name_field)) name_field <- match("name", tolower(names(values)))
  names <- if (is.na(name_field)) paste("feature", fids) else ifelse(is.na(values[[name_field]]), "",
                                                                      as.character(values[[name_field]]))
  if (!is.na(name_field)) values <- values[-name_field]
  if ("type$" %in% tolower(names(values)))
    stop(sprintf("Cannot read %s: the field name \"type$\" is reserved in vector files", file), call. = FALSE)
  crs <- sf::st_crs(x)
  if (is.na(crs) || grepl("^undefined ", tolower(crs$input))) crs <- sf::NA_crs_
  list(names = enc2utf8(names), columns = lapply(values, .el_layer_values), geometry = geometry,
       comment = enc2utf8(sprintf("Converted from %s layer %s", file, layer)), crs = crs)
}

# A layer's attribute as the texts its conversion gives: logicals as the integers GDAL keeps.
.el_layer_values <- function(column) {
  if (is.logical(column)) return(as.integer(column))
  if (inherits(column, c("Date", "POSIXt", "factor")) || is.numeric(column) || is.character(column))
    return(.el_column_values(column))
  enc2utf8(as.character(column))
}
