# A data frame (sf or plain) taken apart into what the core reads, and the R arguments of
# a run turned into the texts of their settings.

# The region names, the species columns (numbers, texts or NA), the geometry as WKB (NULL
# when x has none) and as sf keeps it, and the name the log's header gives the data.
.el_frame_parts <- function(x, name, file_name, species = NULL) {
  if (!is.data.frame(x)) stop("x must be a data frame (sf or plain)", call. = FALSE)
  geometry <- sfc <- NULL
  # A plain data frame with a geometry column is an sf data frame that lost its class.
  if (!inherits(x, "sf") && any(vapply(x, inherits, logical(1), "sfc"))) x <- sf::st_as_sf(x)
  if (inherits(x, "sf")) {
    sfc <- sf::st_geometry(x)
    geometry <- unclass(sf::st_as_binary(sfc, EWKB = FALSE))
    x <- sf::st_drop_geometry(x)
  }
  x <- as.data.frame(x, stringsAsFactors = FALSE)
  if (!is.character(name) || length(name) != 1 || !name %in% names(x))
    stop(sprintf("there is no column \"%s\" with the region names", paste(name, collapse = ",")), call. = FALSE)
  columns <- x[setdiff(names(x), name)]
  if (length(columns) == 0) stop("the data frame has no species column", call. = FALSE)
  for (column in intersect(names(columns), if (is.null(species)) names(columns) else species)) {
    codes <- .el_code_like(columns[[column]])
    if (!is.null(codes))
      .el_warning(sprintf("the column \"%s\" looks like codes rather than dates (%s); it is analysed as a species",
                          column, codes))
  }
  if (is.null(file_name)) file_name <- "data frame"
  list(names = enc2utf8(as.character(x[[name]])),
       columns = lapply(columns, .el_column_values),
       geometry = geometry,
       sfc = sfc,
       file_name = enc2utf8(as.character(file_name)))
}

# Why a column's values look like codes (an identifier, a code kept as text) rather than dates,
# or NULL: text with a leading zero such as "008", or whole numbers that are all different
# and fill a run without a gap (1, 2, ..., n), as the row numbers or ids of a table do.
.el_code_like <- function(column) {
  if (is.factor(column)) column <- as.character(column)
  if (is.character(column)) {
    padded <- column[!is.na(column) & grepl("^[+-]?0[0-9]+$", trimws(column))]
    if (length(padded) > 0) return(sprintf("text with a leading zero such as \"%s\"", padded[1]))
    return(NULL)
  }
  if (!is.numeric(column) || inherits(column, "Date") || length(column) < 3 || anyNA(column)) return(NULL)
  if (any(column != round(column)) || anyDuplicated(column) > 0) return(NULL)
  if (max(column) - min(column) != length(column) - 1) return(NULL)
  sprintf("all different whole numbers from %s to %s, like an identifier", min(column), max(column))
}

# Numbers and texts as they are; factors as their labels; dates as decimal years.
.el_column_values <- function(column) {
  if (is.factor(column)) return(enc2utf8(as.character(column)))
  if (inherits(column, "Date") || inherits(column, "POSIXt")) {
    lt <- as.POSIXlt(column, tz = "UTC")
    seconds <- lt$hour * 3600 + lt$min * 60 + lt$sec
    return(el_decimal_years(as.integer(lt$year + 1900L), as.integer(lt$mon + 1L), as.integer(lt$mday),
                            as.numeric(seconds)))
  }
  if (is.character(column)) return(enc2utf8(column))
  if (is.numeric(column) || is.logical(column)) return(as.vector(column))
  stop("a species column must hold numbers, texts or dates", call. = FALSE)
}

# The run arguments as a named list of setting values (only those given a value).
.el_settings_of <- function(args) {
  settings <- list()
  for (i in seq_len(nrow(.el_arguments))) {
    argument <- .el_arguments$argument[i]
    setting <- .el_arguments$setting[i]
    value <- args[[argument]]
    form <- .el_arguments$form[i]
    if (form == "choice") {
      choices <- eval(.el_forecast_formals[[argument]])
      value <- if (identical(value, choices)) choices[1] else match.arg(value, choices)
    }
    if (is.null(value)) next
    .el_check_value(argument, value, form)
    if (form == "limit") settings[[.el_arguments$check_box[i]]] <- TRUE
    settings[[setting]] <- value
  }
  settings
}

.el_check_value <- function(argument, value, form) {
  single <- length(value) == 1 && !is.na(value)
  ok <- switch(form,
    optional_text = , choice = single && is.character(value),
    flag = single && is.logical(value),
    number = , limit = single && is.numeric(value) && is.finite(value),
    optional_count = single && is.numeric(value) && value >= 0 && value == round(value),
    FALSE)
  if (!ok) {
    what <- switch(form, optional_text = "a string", choice = "one of its choices", flag = "TRUE or FALSE",
                   optional_count = "a whole number", "a number")
    stop(sprintf("%s must be %s", argument, what), call. = FALSE)
  }
}

# The run arguments of el_forecast with the defaults for those not in `given`.
.el_run_args <- function(given) {
  known <- c(.el_arguments$argument)
  unknown <- setdiff(names(given), c(known, "species", "name", "file_name"))
  if (length(unknown) > 0 || any(names(given) == ""))
    stop(sprintf("unknown argument: %s", paste(c(unknown, if (any(names(given) == "")) "(unnamed)"),
                                                collapse = ", ")), call. = FALSE)
  args <- lapply(.el_forecast_formals[-1], eval)
  args[names(given)] <- given
  args
}
