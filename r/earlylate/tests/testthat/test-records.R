# First-record tables: a long table (a data frame or a file) joined to regions gives the
# data set, and the forecast, of the vector file holding the same data.

# The bundled sample in long form: one row per region and species with a value, region by
# region in file order, so regions and species keep the file's order.
sample_records <- function(x = el_read(extdata("sample.csv"))) {
  values <- sf::st_drop_geometry(x)
  species <- setdiff(names(values), "name")
  rows <- lapply(seq_len(nrow(values)), function(i) {
    dates <- vapply(species, function(s) as.character(values[[s]][i]), character(1))
    keep <- !is.na(dates)
    data.frame(Prefecture = values$name[i], Taxon = species[keep], FirstRecord = unname(dates[keep]))
  })
  do.call(rbind, rows)
}


test_that("a long table joined to the regions gives the vector file's data and forecast", {
  local_time_limit(60)
  local_epoch()
  x <- el_read(extdata("sample.csv"))
  # The sample's one empty cell is a pair without a record: read as "Unknown" it is the
  # vector file's missing value.
  expect_error(el_records(sample_records(x)), "Prefecture", class = "earlylate_error")  # the headers it has
  expect_message(built <- el_records(sample_records(x), regions = x, region = "Prefecture", absent = "unknown"), "12")
  expect_true(inherits(built, "sf"))
  expect_identical(names(built), names(x))
  expect_identical(built$name, x$name)
  expect_identical(sf::st_as_binary(sf::st_geometry(built)), sf::st_as_binary(sf::st_geometry(x)))
  expect_identical(built$SpC[6], "Unknown")
  from_file <- suppressWarnings(el_forecast(x, "Invader", reliability = FALSE))
  from_records <- suppressWarnings(el_forecast(built, "Invader", reliability = FALSE, file_name = "sample.csv"))
  expect_identical(from_records$log, from_file$log)
  expect_identical(sf::st_drop_geometry(from_records$regions), sf::st_drop_geometry(from_file$regions))

  # The same table as a spreadsheet's semicolon CSV (BOM, CR LF) reads the same, and names
  # the file for the log.
  dir <- local_folder(character())
  table <- file.path(dir, "first records.csv")
  lines <- c("Prefecture;Taxon;FirstRecord", with(sample_records(x), paste(Prefecture, Taxon, FirstRecord, sep = ";")))
  writeBin(c(as.raw(c(0xEF, 0xBB, 0xBF)), charToRaw(enc2utf8(paste0(lines, "\r\n", collapse = "")))), table)
  from_csv <- quiet_records(table, regions = x, region = "Prefecture", absent = "unknown")
  expect_identical(attr(from_csv, "earlylate_file"), "first records.csv")
  attr(from_csv, "earlylate_file") <- NULL
  expect_identical(from_csv, built)
  expect_identical(list.files(dir), "first records.csv")  # nothing written beside it
})

test_that("pairs without a record are not yet arrived unless told otherwise", {
  records <- data.frame(country = c("North", "North", "South", "South", "North"),
                        species = c("A", "B", "A", "A", "A"),
                        year = c(1990, 2001, 1994, 1992, 1988))
  expect_message(plain <- el_records(records), "records", fixed = TRUE)
  expect_false(inherits(plain, "sf"))
  expect_identical(plain$name, c("North", "South"))
  expect_identical(plain$A, c(1988, 1992))  # duplicates merged to the earliest
  expect_identical(plain$B, c("2001", "NotYetArrived"))
  unknown <- quiet_records(records, absent = "unknown")
  expect_identical(unknown$B, c("2001", "Unknown"))
  expect_error(el_records(records, absent = "maybe"), "should be one of")
})

test_that("R dates, factors and numbers are the table's texts", {
  iso <- data.frame(region = c("P", "Q"), species = c("S", "S"), date = c("2000-07-02", "1999-01-01"))
  as_dates <- transform(iso, date = as.Date(date), region = factor(region))
  expect_identical(quiet_records(as_dates), quiet_records(iso))
  expect_identical(quiet_records(iso)$S[1], 2000 + 183 / 366)
  big <- data.frame(region = "P", species = "S", date = 123456789012)  # not "1.23456789012e+11"
  expect_identical(quiet_records(big)$S, 123456789012)
})

test_that("every bad value is listed with its row, region and species", {
  records <- data.frame(region = c("North", "South", "East", "West"), species = "A",
                        date = c("1990", "early", "19x5", "1991"))
  failure <- expect_error(el_records(records), class = "earlylate_error")
  text <- conditionMessage(failure)
  expect_match(text, "early", fixed = TRUE)
  expect_match(text, "19x5", fixed = TRUE)
  expect_match(text, "South", fixed = TRUE)
  expect_match(text, "East", fixed = TRUE)
  expect_no_match(text, "North", fixed = TRUE)
  expect_error(el_records(records, date = "when"), "when", class = "earlylate_error")
  expect_error(el_records(records, join = "code"), "join must be")
  expect_error(el_records(list(1, 2)), "data frame or the path")
})

test_that("join keys are texts: leading zeros stay, unmatched and shared keys are refused", {
  squares <- lapply(0:3, function(i) sf::st_polygon(list(rbind(c(i, 0), c(i + 1, 0), c(i + 1, 1), c(i, 1), c(i, 0)))))
  regions <- sf::st_sf(id = c("8", "008", "040", "12"), geometry = sf::st_sfc(squares))
  records <- data.frame(name = c("Albania", "Andorra"), code = c("008", "040"), species = "A", year = c(1990, 1995),
                        stringsAsFactors = FALSE)
  built <- quiet_records(records, regions = regions, region = "name", join = c(code = "id"))
  expect_identical(built$name, c("Albania", "Andorra"))  # names from the table
  expect_identical(sf::st_bbox(built[1, ])[["xmin"]], 1)  # the shape of "008", not of "8"
  # The same records in a spreadsheet: its cells are texts, its lines counted from the header.
  dir <- local_folder(character())
  sf::st_write(records, file.path(dir, "records.xlsx"), quiet = TRUE)
  from_sheet <- quiet_records(file.path(dir, "records.xlsx"), regions = regions, region = "name",
                              join = c(code = "id"))
  expect_identical(attr(from_sheet, "earlylate_file"), "records.xlsx")
  attr(from_sheet, "earlylate_file") <- NULL
  expect_identical(from_sheet, built)
  sf::st_write(transform(records, year = c("1990", "soon")), file.path(dir, "bad.ods"), quiet = TRUE)
  expect_error(el_records(file.path(dir, "bad.ods"), region = "name"), "line 3 (region \"Andorra\"", fixed = TRUE,
               class = "earlylate_error")

  records$code[2] <- "999"
  unmatched <- expect_error(el_records(records, regions = regions, region = "name", join = c(code = "id")), class = "earlylate_error")
  expect_match(conditionMessage(unmatched), "999", fixed = TRUE)
  expect_message(dropped <- el_records(records, regions = regions, region = "name", join = c(code = "id"), drop_unmatched = TRUE))
  expect_identical(dropped$name, "Albania")

  # Features that share a key are one region of all their parts; a feature without a key is
  # left out; both are said on the summary line.
  records$code[2] <- "040"
  regions$id[4] <- "008"
  regions$id[1] <- ""
  expect_message(shared <- el_records(records, regions = regions, region = "name", join = c(code = "id")),
                 paste0("; 1 feature of the regions layer with an empty \"id\" left out; 2 features of the regions ",
                        "layer joined into 1 region by their shared \"id\": \"008\""), fixed = TRUE)
  expect_identical(unname(sf::st_bbox(shared[1, ])[c("xmin", "xmax")]), c(1, 4))
  expect_identical(sf::st_geometry_type(shared)[[1]], factor("MULTIPOLYGON", levels(sf::st_geometry_type(shared))))
  expect_error(el_records(records, regions = regions, region = "name", join = c(code = "iso")), "no field \"iso\"")
  regions$id <- I(as.list(regions$id))  # keys that are neither numbers nor texts
  expect_error(el_records(records, regions = regions, region = "name", join = c(code = "id")),
               "neither numbers nor texts", class = "earlylate_error")
})

test_that("el_records gives the batch runner's forecast of the same table", {
  local_time_limit(60)
  local_epoch()
  batch <- batch_runner()
  dir <- local_folder(character())
  write.csv(sample_records(), file.path(dir, "long.csv"), row.names = FALSE)
  expected <- run_batch(batch, dir, c("--records", "long.csv", "--region-column", "Prefecture", "-t", "Invader",
                                      "--no-reliability"), character())
  expect_identical(expected$status, 0L)
  built <- quiet_records(file.path(dir, "long.csv"), region = "Prefecture")
  got <- suppressWarnings(el_forecast(built, "Invader", reliability = FALSE))
  expect_identical(got$log, expected$log)

  # The bundled table joined to its regions layer by codes with leading zeros.
  file.copy(c(extdata("records.csv"), extdata("regions.geojson")), dir)
  expected <- run_batch(batch, dir, c("--records", "records.csv", "--regions", "regions.geojson", "--join", "code=code",
                                      "-t", "Invader", "--no-reliability"), character())
  expect_identical(expected$status, 0L)
  expect_message(joined <- el_records(file.path(dir, "records.csv"), regions = file.path(dir, "regions.geojson"),
                                      join = c(code = "code")), expected$stderr[1], fixed = TRUE)
  expect_identical(nrow(joined), 16L)
  got <- suppressWarnings(el_forecast(joined, "Invader", reliability = FALSE))
  expect_identical(got$log, expected$log)
})

test_that("el_records sets rows aside and keeps subsets as the batch runner does", {
  local_time_limit(60)
  local_epoch()
  batch <- batch_runner()
  dir <- local_folder(character())
  records <- sample_records()
  # Every fifth row an absence; a life form to filter on; the batch runner's own reading first.
  records$occurrenceStatus <- ifelse(seq_len(nrow(records)) %% 5 == 0, "ABSENT", "PRESENT")
  records$LifeForm <- ifelse(seq_len(nrow(records)) %% 3 == 0, "Plants", "Insects")
  write.csv(records, file.path(dir, "long.csv"), row.names = FALSE)
  options <- c("--region-column", "Prefecture", "--filter", "LifeForm=Insects", "--min-regions", "4")
  expected <- run_batch(batch, dir, c("--records", "long.csv", options, "--no-reliability"), character())
  expect_identical(expected$status, 0L)
  built <- with_messages(el_records(file.path(dir, "long.csv"), region = "Prefecture", filter = "LifeForm=Insects",
                                    min_regions = 4))
  expect_identical(attr(built, "messages"), expected$stderr[seq_along(attr(built, "messages"))])
  expect_match(attr(built, "messages"), "whose status says absent set aside", fixed = TRUE, all = FALSE)
  got <- suppressWarnings(el_forecast(built, reliability = FALSE))
  expect_identical(got$log, expected$log)

  expect_error(el_records(records, region = "Prefecture", filter = "Habit=Trees"), "Habit", class = "earlylate_error")
  expect_error(el_records(records, region = "Prefecture", min_regions = 0), "at least 1")
  expect_error(el_records(records, region = "Prefecture", min_regions = 1000), "No species is recorded in at least 1000 regions",
               class = "earlylate_error")
})

test_that("country names join a layer keyed by ISO codes as the batch runner joins them", {
  local_time_limit(60)
  local_epoch()
  batch <- batch_runner()
  dir <- local_folder(character())
  writeLines(c('{"3166-1": [',
               '{"alpha_2": "CZ", "alpha_3": "CZE", "numeric": "203", "name": "Czechia", "official_name": "Czech Republic"},',
               '{"alpha_2": "AT", "alpha_3": "AUT", "numeric": "040", "name": "Austria"},',
               '{"alpha_2": "RU", "alpha_3": "RUS", "numeric": "643", "name": "Russian Federation"}]}'),
             file.path(dir, "iso.json"))
  old <- Sys.getenv("EARLYLATE_ISO_CODES", NA)
  Sys.setenv(EARLYLATE_ISO_CODES = file.path(dir, "iso.json"))
  on.exit(if (is.na(old)) Sys.unsetenv("EARLYLATE_ISO_CODES") else Sys.setenv(EARLYLATE_ISO_CODES = old), add = TRUE)
  squares <- lapply(0:2, function(i) sf::st_polygon(list(rbind(c(i, 0), c(i + 1, 0), c(i + 1, 1), c(i, 1), c(i, 0)))))
  sf::st_write(sf::st_sf(id = c("040", "203", "643"), geometry = sf::st_sfc(squares, crs = 4326)),
               file.path(dir, "world.gpkg"),
               quiet = TRUE)
  records <- data.frame(country = c("Czech Republic", "Austria", "Russia", "Czech Republic", "Austria"),
                        species = c("A", "A", "A", "B", "B"), year = c(1990, 1995, 2001, 1993, 1999))
  write.csv(records, file.path(dir, "records.csv"), row.names = FALSE)
  expected <- run_batch(batch, dir, c("--records", "records.csv", "--regions", "world.gpkg", "--join", "country=id",
                                      "--country-codes", "numeric", "-t", "A", "--no-reliability"), character())
  expect_identical(expected$status, 0L)
  built <- with_messages(el_records(file.path(dir, "records.csv"), regions = file.path(dir, "world.gpkg"),
                                    region = "country", join = c(country = "id"), country_codes = "numeric"))
  expect_identical(attr(built, "messages"), expected$stderr[seq_along(attr(built, "messages"))])
  expect_identical(built$name, c("Czech Republic", "Austria", "Russia"))
  expect_identical(unname(sf::st_bbox(built[1, ])[["xmin"]]), 1)  # the shape of "203"
  got <- suppressWarnings(el_forecast(built, "A", reliability = FALSE))
  expect_identical(got$log, expected$log)

  # A layer written without a coordinate system is taken as it is, as the batch runner takes it.
  sf::st_write(sf::st_sf(id = c("040", "203", "643"), geometry = sf::st_sfc(squares)), file.path(dir, "plain.gpkg"),
               quiet = TRUE)
  plain <- quiet_records(records, regions = file.path(dir, "plain.gpkg"), join = c(country = "id"),
                         country_codes = "numeric")
  expect_identical(sf::st_bbox(plain), sf::st_bbox(sf::st_set_crs(built, NA)))

  records$country[3] <- "Rusia"
  expect_error(el_records(records, regions = file.path(dir, "world.gpkg"), join = c(country = "id"),
                          country_codes = "numeric"), "Rusia", class = "earlylate_error")
  expect_error(el_records(records, country_codes = "numeric"), "needs regions and join")
  expect_error(el_records(records, regions = file.path(dir, "world.gpkg"), join = c(country = "id"),
                          country_codes = "iso"), "must be \"numeric\"")
})

test_that("a workbook's records come from the first sheet with the three columns, or the sheet named", {
  local_time_limit(60)
  local_epoch()
  skip_if_not_installed("sf")
  dir <- local_folder(character())
  book <- file.path(dir, "book.xlsx")
  sf::st_write(data.frame(About = c("First records", "Version 2")), book, layer = "ReadMe", quiet = TRUE)
  records <- data.frame(Region = c("North", "South", "North"), TaxonName = c("A", "A", "B"),
                        FirstRecord = c("1990", "1995", "2001"))
  sf::st_write(records, book, layer = "FirstRecords", append = TRUE, quiet = TRUE)
  found <- with_messages(el_records(book))
  expect_identical(found$name, c("North", "South"))
  expect_match(attr(found, "messages")[1], "read the sheet \"FirstRecords\"", fixed = TRUE)
  named <- quiet_records(book, sheet = "firstrecords")  # one sheet equal ignoring case
  attr(named, "earlylate_file") <- attr(found, "earlylate_file") <- NULL
  attr(found, "messages") <- NULL
  expect_identical(named, found)
  expect_error(el_records(book, sheet = "Data"), "no sheet named \"Data\"", class = "earlylate_error")
  refused <- expect_error(el_records(book, sheet = "ReadMe"), class = "earlylate_error")
  expect_match(conditionMessage(refused), "About", fixed = TRUE)
  expect_error(el_records(records, sheet = "FirstRecords"), "names a sheet of a workbook")

  batch <- Sys.getenv("EARLYLATE_BATCH")
  if (nzchar(batch)) {
    expected <- run_batch(normalizePath(batch), dir, c("--records", "book.xlsx", "--no-reliability"), character())
    expect_identical(expected$status, 0L)
    expect_match(expected$stderr[1], "read the sheet \"FirstRecords\"", fixed = TRUE)
    expect_identical(suppressWarnings(el_forecast(quiet_records(book), reliability = FALSE))$log, expected$log)
  }
})

test_that("occurrence points are placed in the regions of a layer as the batch runner places them", {
  local_time_limit(60)
  local_epoch()
  dir <- local_folder(c(extdata("regions.geojson")))
  # Points in the bundled regions (one-degree squares from 10 E, 50 N): two in "Alder", one in
  # "Ash", one in no region and one without a date.
  writeLines(c("species\tdecimalLongitude\tdecimalLatitude\tyear", "SpA\t10.5\t50.5\t1990", "SpA\t10.2\t50.7\t1985",
               "SpB\t10.5\t50.5\t1999", "SpA\t11.5\t50.5\t1993", "SpA\t40\t40\t1980", "SpB\t11.5\t50.5\t"),
             file.path(dir, "points.tsv"))
  points <- file.path(dir, "points.tsv")
  layer <- file.path(dir, "regions.geojson")
  placed <- with_messages(el_records(occurrences = points, regions = layer))
  messages <- attr(placed, "messages")
  attr(placed, "messages") <- NULL
  expect_length(messages, 2)
  expect_match(messages[1], "6 points, 4 placed", fixed = TRUE)
  expect_match(messages[1], "1 outside every region, 1 without a date", fixed = TRUE)
  expect_match(messages[2], "records: 2 regions", fixed = TRUE)
  expect_identical(placed$name, c("Alder", "Ash"))
  expect_identical(placed$SpA, c(1985, 1993))  # the earliest point of each region
  expect_identical(placed$SpB, c("1999", "NotYetArrived"))
  expect_identical(sf::st_crs(placed)$epsg, 4326L)
  expect_identical(attr(placed, "earlylate_file"), "points.tsv")
  from_sf <- quiet_records(occurrences = points, regions = sf::st_read(layer, quiet = TRUE))
  expect_identical(from_sf, placed)
  expect_error(el_records(occurrences = points), "need regions")
  expect_error(el_records(occurrences = points, regions = layer, date = "when"), "when", class = "earlylate_error")

  batch <- batch_runner()
  # Only the import is compared: a run on two regions has nothing to learn from.
  expected <- run_batch(batch, dir, c("--occurrences", "points.tsv", "--regions", "regions.geojson", "-s", "SpA",
                                      "--no-reliability"), character())
  expect_identical(messages, expected$stderr[seq_along(messages)])
})


test_that("points on an edge, without a species or with bad coordinates count as the batch runner counts them", {
  local_time_limit(60)
  local_epoch()
  dir <- local_folder(c(extdata("regions.geojson")))
  # On the edge of Alder and Ash, on the corner of Alder, Ash, Birch and Box, and a decimal
  # comma in a semicolon file: each point goes to the first region of the layer that holds it.
  writeLines(c("scientificName;lon;lat;eventDate", "SpA;11;50,5;2001-07-02", "SpB;11;51;1990", "SpA;12;50.5;1995",
               ";10.5;50.5;1980", "SpA;west;50.5;1970", "SpA;10.5;95;1970", "SpB;12.5;50.5;2004-06/2004-07"),
             file.path(dir, "edges.csv"))
  placed <- with_messages(el_records(occurrences = file.path(dir, "edges.csv"), regions = file.path(dir, "regions.geojson"),
                                     absent = "unknown"))
  messages <- attr(placed, "messages")
  expect_match(messages[1], "7 points, 4 placed", fixed = TRUE)
  expect_match(messages[1], "1 without a species, 2 with bad coordinates (lines 6, 7)", fixed = TRUE)
  expect_identical(placed$name, c("Alder", "Ash", "Aspen"))
  expect_identical(placed$SpA, c("2001.49863013699", "1995", "Unknown"))
  expect_identical(placed$SpB, c("1990", "Unknown", "2004.41530054645"))

  batch <- batch_runner()
  expected <- run_batch(batch, dir, c("--occurrences", "edges.csv", "--regions", "regions.geojson", "--absent", "unknown",
                                      "-s", "SpA", "--no-reliability"), character())
  expect_identical(messages, expected$stderr[seq_along(messages)])
})
