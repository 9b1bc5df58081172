# A vector file, or a GIS file GDAL reads, as an sf data frame.

el_read <- function() {
  if (!is.character(path) || length(path) != 1) stop("path must name one file", call. = FALSE)
  out <- el_read_cpp(enc2utf8(path.expand(path)), encoding, isTRUE(format_check))
  .el_stop_on_failure(out)
  for (text in out$messages) warning(text, call. = FALSE)
  frame <- structure(c(list(name = out$name), out$values), class = "data.frame",
                     row.names = seq_along(out$name))
  geometry <- sf::st_as_sfc(structure(out$geometry, class = "WKB"), EWKB = FALSE)
  if (isTRUE(out$gis)) sf::st_crs(geometry) <- .el_crs_of(path)
  x <- sf::st_sf(frame, geometry = geometry)
  attr(x, "earlylate_file") <- basename(path)
  x
}
formals(el_read) <- .el_read_formals

# The coordinate system of a GIS file's first layer (or of the one named); a vector file has none, and neither has a
# GeoPackage layer written without one (which reads back with an "undefined" placeholder).
.el_crs_of <- function(path, layer = NULL) {
  crs <- tryCatch({
    layers <- sf::st_layers(path)
    layers$crs[[if (is.null(layer)) 1 else match(layer, layers$name)]]
  }, error = function(e) NULL, warning = function(w) NULL)
  if (!inherits(crs, "crs") || is.na(crs) || grepl("^undefined ", tolower(crs$input))) return(sf::NA_crs_)
  crs
}
