# A first-record table (one row per record: region, species, date), or occurrence points,
# turned into the data frame el_forecast takes: one row per region, one column per species.

#' Build regions from a first-record table
#'
#' @description
#' Turns a first-record table, one row per record (region, species, date), into the data frame
#' \code{\link{el_forecast}} takes: one row per region, one column per species. The same core
#' as the batch runner's \code{--records} builds it, so a forecast of the result equals the
#' batch runner's of the same table. Nothing is written to any file.
#'
#' A region and species without any record read as \code{"NotYetArrived"} by default: a
#' first-record database lists arrivals, so no record means not yet arrived.
#' \code{absent = "unknown"} reads them as \code{"Unknown"} instead.
#'
#' @param x the records: a data frame (one row per record) or the path of a CSV/TSV file
#'   (comma, semicolon or tab found; UTF-8 with or without a byte order mark, or the encoding
#'   found or named), an XLSX or an ODS file (the sheet that \code{sheet} chooses, the header in its first row,
#'   read through sf with every cell as the text the sheet shows).
#'   Columns of a data frame are read as the texts of a table's cells: numbers in their plain
#'   decimal form, \code{Date}s as decimal years (as an ISO date is read), factors as their
#'   labels.
#' @param regions the regions' shapes: an sf data frame or the path of a GIS file sf reads;
#'   \code{NULL} gives a plain data frame without geometry.
#' @param region,species,date the columns of \code{x} that hold the region, the species and
#'   the date of a record; \code{NULL} finds each by its usual header names, in any letter case
#'   (region, location, country; species, taxon, scientificName, TaxonName; date, year,
#'   first_record, FirstRecord, first_record_year).
#' @param absent what a region and species without any record stand for: \code{"notyet"}
#'   (\code{"NotYetArrived"}) or \code{"unknown"} (\code{"Unknown"}).
#' @param join \code{c(column = "field")}: the column of \code{x} and the field of
#'   \code{regions} that hold the same keys, compared as texts (\code{"008"} stays
#'   \code{"008"}); \code{NULL} joins the region column to the field \code{name}. Region
#'   names come from the table; the regions give only the geometry.
#' @param drop_unmatched \code{TRUE} drops the table's regions that \code{regions} lacks (the
#'   summary message counts them) instead of refusing them. Regions without any record are
#'   always left out.
#' @param occurrences instead of \code{x}: the path of a download of occurrence points
#'   (species, decimal longitude, decimal latitude, and a year or an event date; columns found
#'   by their usual names, or named by \code{species}, \code{date}, \code{longitude} and
#'   \code{latitude}), read as the batch runner's \code{--occurrences} reads it: a CSV or TSV
#'   file, a \code{.zip} holding one (GBIF's simple CSV), or a Darwin Core archive (a
#'   \code{.zip} with a \code{meta.xml}, or the folder it unpacks to). A zip is read in place by
#'   R. Points whose \code{occurrenceStatus} says absent, fossil and living specimens (see
#'   \code{keep_specimens}), points without a species, with bad coordinates or without a date
#'   are set aside, each reason counted on the summary message. Each point goes to the first region of \code{regions} (an sf data frame
#'   or the path of a GIS file) that contains it, its edge included, the shapes taken as plane
#'   figures in longitude/latitude; the earliest date of each region and species is its
#'   record, as the batch runner's \code{--occurrences} places them. Messages tell how many
#'   points were read, placed, outside every region or without a date. The regions are then
#'   named by the layer's keys: its \code{name} field, or the field \code{join} names.
#' @param filter \code{"COLUMN=VALUE[,VALUE...]"}, one or several: keeps the rows of \code{x}
#'   (or the lines of \code{occurrences}) whose column holds one of the values (with several, the rows every filter keeps), as the
#'   batch runner's \code{--filter}; a column \code{x} lacks, or a filter that keeps no row,
#'   is refused naming the columns or the values the column holds.
#' @param min_regions keeps the species recorded in at least this many regions (of
#'   \code{regions}, when given), as the batch runner's \code{--min-regions}; \code{NULL}
#'   keeps every species. A message says how many were left out.
#' @param country_codes with \code{join}: \code{"numeric"}, \code{"alpha-2"} or \code{"alpha-3"},
#'   as the batch runner's \code{--country-codes}: the table's join column holds country names
#'   ("Czech Republic", "Russia") or codes of another kind, the regions' field ISO 3166 codes of
#'   this kind. Names are looked up in the iso-codes data (Debian's \code{iso-codes} package,
#'   read with jsonlite; the environment variable \code{EARLYLATE_ISO_CODES} names another copy
#'   of its \code{iso_3166-1.json}); a name that is no country is refused with the names meant.
#' @param keep_specimens with \code{occurrences}: \code{TRUE} keeps the points whose
#'   \code{basisOfRecord} is \code{FOSSIL_SPECIMEN} or \code{LIVING_SPECIMEN} (zoos, gardens,
#'   collections), which are set aside and counted by default, as the batch runner's
#'   \code{--keep-specimens}.
#' @param sheet the sheet of a workbook \code{x} (.xlsx, .ods) that holds the records, as the
#'   batch runner's \code{--sheet}; \code{NULL} takes the first sheet with a region, a species
#'   and a date column (a message names it when it is not the first). A workbook without such
#'   a sheet is refused listing every sheet with its columns.
#' @param ... \code{layer}: the layer of a \code{regions} file that holds several;
#'   \code{encoding}: the encoding of a delimited file (\code{"auto"} by default);
#'   \code{longitude}, \code{latitude}: the coordinate columns of occurrence points.
#' @return An sf data frame (a plain one without \code{regions}) with one row per region in order of
#' first appearance in the table: \code{name}, then one column per species with its earliest
#' date (numbers as numbers, else texts with the keywords), and the regions' geometry, in
#' longitude/latitude (EPSG:4326) when the regions have a coordinate system, as the batch
#' runner's \code{--regions} takes them. A message gives the summary line: regions, species, records, merged
#' duplicates and the cells without a record. The attribute \code{earlylate_file} names a
#' table file for the log of a forecast.
#'
#' Errors are of class \code{earlylate_error} with the tool's text: every row whose value is
#' neither a number, an ISO date (YYYY-MM-DD) nor a keyword is listed with its row number,
#' region, species and value; a table region without a shape, and a key two regions share,
#' are named.
#' @examples
#' records <- data.frame(
#'   region = c("North", "North", "South", "East", "South"),
#'   species = c("Early", "Late", "Early", "Early", "Late"),
#'   year = c(1990, 2001, 1994, 1998, 2005))
#' el_records(records)
#' @export
el_records <- function(x, regions = NULL, region = NULL, species = NULL, date = NULL,
                       absent = c("notyet", "unknown"), join = NULL, drop_unmatched = FALSE,
                       occurrences = NULL, filter = NULL, min_regions = NULL,
                       country_codes = NULL, sheet = NULL, ...) {
  extra <- .el_records_extra(list(...))
  absent <- match.arg(absent)
  columns <- list(region = .el_column_name(region, "region"), species = .el_column_name(species, "species"),
                  date = .el_column_name(date, "date"))
  if (!is.logical(drop_unmatched) || length(drop_unmatched) != 1 || is.na(drop_unmatched))
    stop("drop_unmatched must be TRUE or FALSE", call. = FALSE)
  join <- .el_join_of(join)
  filter <- .el_filters_of(filter)
  min_regions <- .el_min_regions_of(min_regions)
  country_codes <- .el_country_codes_of(country_codes, join, regions)
  keep_specimens <- .el_switch_of(keep_specimens, "keep_specimens")
  if (!is.null(occurrences)) {
    if (nzchar(country_codes) || !is.null(sheet))
      stop("country_codes and sheet apply to a records table, not to occurrence points", call. = FALSE)
    if (!missing(x)) stop("give either the records (x) or the occurrence points, not both", call. = FALSE)
    return(.el_occurrence_records(occurrences, regions, columns, absent, join, isTRUE(drop_unmatched), extra,
                                  list(keep_specimens = keep_specimens, filter = filter, min_regions = min_regions)))
  }
  if (keep_specimens) stop("keep_specimens applies to occurrence points, not to a records table", call. = FALSE)
  if (missing(x) || is.null(x)) stop("x must be a records table (a data frame or a file)", call. = FALSE)
  layer <- if (is.null(regions)) NULL else .el_regions_of(regions, join["field"], extra$layer)
  table <- .el_table_of(x, extra$encoding, sheet, columns, unname(join["column"]))
  if (!is.null(table$note) && nzchar(table$note)) message(table$note)
  out <- el_records_cpp(table, columns, layer$keys, layer$geometry, layer$empty,
                        if (is.null(layer)) "" else layer$field, absent, unname(join["column"]),
                        isTRUE(drop_unmatched), filter, min_regions, country_codes,
                        if (nzchar(country_codes)) .el_iso_countries() else NULL)
  .el_stop_on_failure(out)
  for (line in out$summary) message(line)
  .el_records_frame(out, layer$crs, x)
}

# The formals of el_records that the parameter registry names (R/settings.R), before `...`.
formals(el_records) <- local({
  f <- formals(el_records)
  dots <- match("...", names(f))
  c(f[seq_len(dots - 1)], .el_records_switches, f[dots:length(f)])
})

# TRUE or FALSE, nothing else.
.el_switch_of <- function(value, argument) {
  if (!is.logical(value) || length(value) != 1 || is.na(value))
    stop(sprintf("%s must be TRUE or FALSE", argument), call. = FALSE)
  value
}

# The options that el_records takes through `...`.
.el_records_extra <- function(extra) {
  known <- c("layer", "encoding", "longitude", "latitude")
  unknown <- setdiff(names(extra), known)
  if (length(extra) > 0 && (is.null(names(extra)) || any(names(extra) == "") || length(unknown) > 0))
    stop(sprintf("unknown argument: %s", paste(c(unknown, if (is.null(names(extra)) || any(names(extra) == ""))
      "(unnamed)"), collapse = ", ")), call. = FALSE)
  for (name in names(extra)) .el_column_name(extra[[name]], name)
  extra
}

# filter = "COLUMN=VALUE[,VALUE...]", one or several; the core checks each.
.el_filters_of <- function(filter) {
  if (is.null(filter)) return(character())
  if (!is.character(filter) || length(filter) == 0 || anyNA(filter))
    stop("filter must be texts of the form COLUMN=VALUE[,VALUE...], e.g. \"LifeForm=Insects\"", call. = FALSE)
  enc2utf8(filter)
}

# min_regions = N, a whole number of at least 1; NULL keeps every species.
.el_min_regions_of <- function(min_regions) {
  if (is.null(min_regions)) return(1L)
  if (!is.numeric(min_regions) || length(min_regions) != 1 || is.na(min_regions) || min_regions < 1 ||
      min_regions != round(min_regions) || min_regions > 1e9)
    stop("min_regions must be a whole number of at least 1", call. = FALSE)
  as.integer(min_regions)
}

# country_codes = "numeric" | "alpha-2" | "alpha-3", with a join and regions; "" for none.
.el_country_codes_of <- function(country_codes, join, regions) {
  if (is.null(country_codes)) return("")
  kinds <- c("numeric", "alpha-2", "alpha-3")
  if (!is.character(country_codes) || length(country_codes) != 1 || !country_codes %in% kinds)
    stop("country_codes must be \"numeric\", \"alpha-2\" or \"alpha-3\"", call. = FALSE)
  if (!nzchar(join["column"]) || is.null(regions))
    stop("country_codes needs regions and join = c(column = \"field\"): the table's column of country names",
         call. = FALSE)
  country_codes
}

# The countries of ISO 3166-1 as the iso-codes package holds them.
.el_iso_countries <- function() {
  file <- el_iso_countries_file_cpp()
  if (!file.exists(file))
    stop(sprintf("cannot read the country codes of %s (country_codes needs the iso-codes package: %s)", file,
                 "apt-get install iso-codes, or EARLYLATE_ISO_CODES naming its iso_3166-1.json"), call. = FALSE)
  if (!requireNamespace("jsonlite", quietly = TRUE))
    stop("country_codes needs the R package jsonlite to read the country codes", call. = FALSE)
  entries <- tryCatch(jsonlite::fromJSON(file, simplifyVector = TRUE)[["3166-1"]], error = function(e) NULL)
  if (!is.data.frame(entries))
    stop(sprintf("%s is not a list of ISO 3166-1 countries (no \"3166-1\" list)", file), call. = FALSE)
  column <- function(name) if (name %in% names(entries)) enc2utf8(as.character(entries[[name]])) else
    rep(NA_character_, nrow(entries))
  lapply(c(alpha_2 = "alpha_2", alpha_3 = "alpha_3", numeric = "numeric", name = "name",
           official_name = "official_name", common_name = "common_name"), column)
}

# A column name given by the user, or "" (found by its usual header names).
.el_column_name <- function(value, argument) {
  if (is.null(value)) return("")
  if (!is.character(value) || length(value) != 1 || is.na(value) || !nzchar(value))
    stop(sprintf("%s must name one column", argument), call. = FALSE)
  enc2utf8(value)
}

# join = c(column = "field"): the table column and the layer field that hold the same key.
.el_join_of <- function(join) {
  if (is.null(join)) return(c(column = "", field = ""))  # the field "name"
  if (!is.character(join) || length(join) != 1 || is.na(join) || is.null(names(join)) || !nzchar(names(join)) ||
      !nzchar(join))
    stop("join must be c(column = \"field\"): the table column and the regions' field with the same keys",
         call. = FALSE)
  c(column = enc2utf8(names(join)), field = enc2utf8(unname(join)))
}

# A table for the core: a file's path as it is (the core reads it as the batch runner does), a
# data frame as its headers and its columns.
.el_table_of <- function(x, encoding, sheet = NULL, columns = NULL, join_column = "") {
  if (is.null(x)) return(NULL)
  first_line <- 1  # a data frame's rows as R numbers them
  note <- ""
  is_file <- is.character(x) && length(x) == 1 && !is.na(x)
  if (is_file && grepl("[.](xlsx|ods)$", x, ignore.case = TRUE)) {
    read <- .el_read_sheet(path.expand(x), sheet, columns, join_column)
    x <- read$table
    note <- read$note
    first_line <- 2  # a sheet's lines, below its header
  } else if (!is.null(sheet)) {
    stop(sprintf("sheet names a sheet of a workbook (.xlsx or .ods), but %s is none",
                 if (is_file) basename(x) else "x"), call. = FALSE)
  } else if (is_file) {
    return(list(path = enc2utf8(path.expand(x)), encoding = if (is.null(encoding)) "auto" else encoding))
  }
  if (!is.data.frame(x)) stop("a records table must be a data frame or the path of a file", call. = FALSE)
  if (inherits(x, "sf")) x <- sf::st_drop_geometry(x)
  x <- as.data.frame(x, stringsAsFactors = FALSE)
  if (ncol(x) == 0) stop("the records table has no column", call. = FALSE)
  list(headers = enc2utf8(names(x)), columns = lapply(unname(as.list(x)), .el_record_values), first_line = first_line,
       note = note)
}

# The sheet of a workbook that holds the records, as a data frame of texts: its first row the
# headers, every cell as the sheet shows it, so a year stays "1998" and a code "008". The
# sheet is the one `sheet` names, else the first with a region, a species and a date column,
# chosen by the core as the batch runner chooses it; `note` says so when it is not the first.
.el_read_sheet <- function(path, sheet = NULL, columns = NULL, join_column = "") {
  .el_need_sf("a spreadsheet")
  file <- basename(path)
  fail <- function(e) stop(sprintf("Cannot read %s: %s", file, conditionMessage(e)), call. = FALSE)
  # As the batch runner reads a sheet: GDAL's options for the spreadsheet drivers (read from
  # the environment), since open options reach only the first sheet of some workbooks.
  options <- c(OGR_XLSX_HEADERS = "FORCE", OGR_ODS_HEADERS = "FORCE", OGR_XLSX_FIELD_TYPES = "STRING",
               OGR_ODS_FIELD_TYPES = "STRING")
  old <- Sys.getenv(names(options), unset = NA, names = TRUE)
  do.call(Sys.setenv, as.list(options))
  on.exit({
    for (name in names(old)) if (is.na(old[[name]])) Sys.unsetenv(name) else do.call(Sys.setenv, as.list(old[name]))
  }, add = TRUE)
  read <- function(layer) {
    table <- tryCatch(withCallingHandlers(
      sf::st_read(path, layer = layer, options = c("HEADERS=FORCE", "FIELD_TYPES=STRING"), quiet = TRUE,
                  stringsAsFactors = FALSE),
      warning = function(w) if (grepl("no simple feature geometries", conditionMessage(w))) invokeRestart("muffleWarning")),
      error = fail)
    if (inherits(table, "sf")) table <- sf::st_drop_geometry(table)
    as.data.frame(table, stringsAsFactors = FALSE)
  }
  if (!is.null(sheet) && (!is.character(sheet) || length(sheet) != 1 || is.na(sheet) || !nzchar(sheet)))
    stop("sheet must name one sheet of the workbook", call. = FALSE)
  names <- tryCatch(sf::st_layers(path)$name, error = fail)
  tables <- lapply(names, read)
  if (is.null(columns)) columns <- list(region = "", species = "", date = "")
  choice <- el_choose_sheet_cpp(enc2utf8(names), lapply(tables, function(t) enc2utf8(names(t))), columns,
                                join_column, if (is.null(sheet)) "" else enc2utf8(sheet), path)
  .el_stop_on_failure(choice)
  list(table = tables[[choice$index]], note = choice$note)
}

# A column of records as the core reads a table's cells: numbers in their plain form (in
# C++), dates as decimal years, factors as their labels.
.el_record_values <- function(column) {
  if (is.list(column)) stop("a records table's columns must hold numbers, texts or dates", call. = FALSE)
  .el_column_values(column)
}

# The regions: their keys as texts and their geometry (sfc and WKB), from an sf data frame or
# a GIS file that sf reads; the key field "name" (in any letter case) unless one is named.
.el_regions_of <- function(regions, field, layer) {
  .el_need_sf("el_records with regions")
  if (is.character(regions) && length(regions) == 1 && !is.na(regions)) {
    regions <- if (is.null(layer)) sf::st_read(regions, quiet = TRUE) else sf::st_read(regions, layer, quiet = TRUE)
  } else if (!is.null(layer)) {
    stop("layer names a layer of a regions file, not of a data frame", call. = FALSE)
  }
  if (!inherits(regions, "sf")) stop("regions must be an sf data frame or the path of a GIS file", call. = FALSE)
  values <- sf::st_drop_geometry(regions)
  if (!nzchar(field)) {
    field <- "name"
    if (!field %in% names(values) && sum(tolower(names(values)) == field) == 1)
      field <- names(values)[tolower(names(values)) == field]
  }
  if (!field %in% names(values))
    stop(sprintf("the regions have no field \"%s\" (they have: %s)", field, paste(names(values), collapse = ", ")),
         call. = FALSE)
  keys <- values[[field]]
  if (is.factor(keys)) keys <- as.character(keys)
  sfc <- sf::st_geometry(regions)
  # As the batch runner's regions layer: in longitude/latitude wherever a coordinate system is known.
  # A layer written without one ("Undefined Cartesian SRS", as GeoPackages get it) has none.
  crs <- sf::st_crs(sfc)
  if (!is.na(crs) && grepl("^undefined ", tolower(if (is.null(crs$Name)) "" else crs$Name))) sf::st_crs(sfc) <- NA
  if (!is.na(sf::st_crs(sfc))) sfc <- sf::st_transform(sfc, 4326)
  list(keys = keys, field = field, sfc = sfc, geometry = unclass(sf::st_as_binary(sfc, EWKB = FALSE)),
       empty = as.logical(sf::st_is_empty(sfc)), crs = sf::st_crs(sfc))
}

# The data set the core built as el_read gives one: sf with the regions' coordinate system,
# a plain data frame without regions.
.el_records_frame <- function(out, crs, x) {
  frame <- structure(c(list(name = out$name), out$values), class = "data.frame", row.names = seq_along(out$name))
  if (!is.null(crs)) {
    geometry <- sf::st_as_sfc(structure(out$geometry, class = "WKB"), EWKB = FALSE)
    sf::st_crs(geometry) <- crs
    frame <- sf::st_sf(frame, geometry = geometry)
  }
  if (is.character(x) && length(x) == 1) attr(frame, "earlylate_file") <- basename(x)
  frame
}

# Occurrence points (a delimited file, a zip holding one, or a Darwin Core archive, zipped or
# unpacked: species, longitude, latitude, a year or a date) placed in the regions as the batch
# runner's --occurrences places them: the core reads and sifts the points (R's own zip support
# opening a zip), sf finds the region of each, the core keeps the earliest of each region and
# species. `subset`: keep_specimens, filter and min_regions.
.el_occurrence_records <- function(occurrences, regions, columns, absent, join, drop_unmatched, extra, subset) {
  if (!is.character(occurrences) || length(occurrences) != 1 || is.na(occurrences))
    stop("occurrences must be the path of a download: a CSV or TSV file, a zip or a Darwin Core archive",
         call. = FALSE)
  if (is.null(regions)) stop("occurrence points need regions: an sf data frame or the path of a GIS file", call. = FALSE)
  blank <- function(value) if (is.null(value)) "" else value
  path <- path.expand(occurrences)
  points <- el_occurrence_points_cpp(enc2utf8(path), if (is.null(extra$encoding)) "auto" else extra$encoding,
                                     columns$species, blank(extra$longitude), blank(extra$latitude), columns$date,
                                     subset$keep_specimens, subset$filter)
  .el_stop_on_failure(points)
  layer <- .el_regions_of(regions, unname(join["field"]), extra$layer)
  feature_region <- el_feature_regions_cpp(layer$keys, layer$empty)
  region <- .el_region_of_points(layer$sfc, feature_region, points$longitude, points$latitude)
  out <- el_occurrence_records_cpp(points, region, layer$keys, layer$geometry, layer$empty, layer$field, absent,
                                   drop_unmatched, subset$min_regions)
  .el_stop_on_failure(out)
  for (line in out$summary) message(line)
  .el_records_frame(out, layer$crs, occurrences)
}

# A zip read by R's own zip support, for the core (src/r_zip.cpp), so that a download need
# not be unpacked: its files (not its folders), one of them opened, read and closed. Each
# answers list(value = ...) or list(error = TEXT), never an R error, which would jump across
# the core's frames.
.el_zip_answer <- function(expr) tryCatch(list(value = expr), error = function(e) list(error = conditionMessage(e)))
.el_zip_entries <- function(zip) .el_zip_answer({
  names <- utils::unzip(zip, list = TRUE)$Name
  enc2utf8(names[!grepl("/$", names)])
})
.el_zip_open <- function(zip, entry) .el_zip_answer({
  connection <- unz(zip, entry)
  tryCatch(open(connection, "rb"), error = function(e) {
    close(connection)
    stop(e)
  })
  connection
})
.el_zip_read <- function(connection, n) .el_zip_answer(readBin(connection, "raw", n))
.el_zip_close <- function(connection) .el_zip_answer(close(connection))

# The region each point lies in: the smallest region index (`feature_region`, by feature, NA
# for a feature left out) of the features whose shape holds it (their edge included), NA for
# none. The shapes are taken as plane figures in their coordinates, repaired where invalid; a
# point west of 0 is also looked for at its longitude plus 360, for layers drawn from 0 to 360.
.el_region_of_points <- function(sfc, feature_region, longitude, latitude) {
  if (length(longitude) == 0) return(integer())
  plane <- sf::st_set_crs(sfc, NA)
  invalid <- which(!sf::st_is_valid(plane) %in% TRUE)
  if (length(invalid) > 0) plane[invalid] <- sf::st_make_valid(plane[invalid])
  first_region <- function(x, y) {
    points <- sf::st_as_sf(data.frame(x = x, y = y), coords = c("x", "y"))
    hits <- sf::st_intersects(points, plane)
    # The smallest region of each point's hits, over all points at once: its hits sorted by
    # point, then region (a feature left out last), and the first of each point taken.
    point <- rep(seq_along(hits), lengths(hits))
    hit_region <- feature_region[unlist(hits)]
    sorted <- order(point, hit_region, na.last = TRUE)
    first <- sorted[!duplicated(point[sorted])]
    found <- rep(NA_integer_, length(hits))
    found[point[first]] <- hit_region[first]
    found
  }
  region <- first_region(longitude, latitude)
  west <- which(longitude < 0)
  if (length(west) > 0)
    region[west] <- suppressWarnings(pmin(region[west], first_region(longitude[west] + 360, latitude[west]),
                                          na.rm = TRUE))
  as.integer(region)
}
