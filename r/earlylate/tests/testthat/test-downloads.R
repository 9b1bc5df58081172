# Occurrence downloads as users get them (a delimited file, a zip holding one, a Darwin Core
# archive zipped or unpacked) read by el_records as the batch runner's --occurrences reads
# them: the same points set aside for the same reasons, the same data set and messages.

# The lines of a download: species, coordinates, year or event date, status and basis, with
# a quote inside a field (GBIF's tab files do not quote). `columns` gives the order.
download_rows <- function() {
  data.frame(
    gbifID = as.character(1:12),
    species = c("SpA", "SpA", "SpA", "SpB", "SpB", "SpB", "SpC", "", "SpA", "SpB", "SpB", "SpD"),
    scientificName = c("SpA L.", "SpA L.", "SpA L.", "SpB", "SpB", "SpB", "SpC", "Quercus", "SpA", "SpB", "SpB", "SpD"),
    decimalLongitude = c("10.5", "10.2", "11.5", "10.5", "11.5", "12.5", "10.5", "10.5", "", "12.5", "12.5", "10.4"),
    decimalLatitude = c("50.5", "50.7", "50.5", "50.5", "50.5", "50.5", "51.5", "50.5", "50.5", "50.5", "50.5", "51.4"),
    year = c("1990", "", "1993", "1999", "1950", "1900", "1920", "1991", "1992", "", "", "1980"),
    eventDate = c("", "1985-06-15T10:30:00Z", "", "", "", "", "", "", "", "", "2004-06-01/2004-06-30", "1980"),
    locality = c("", "", "", "12\" north of the road", "", "", "", "", "", "", "", ""),
    occurrenceStatus = c(rep("PRESENT", 4), "ABSENT", rep("PRESENT", 7)),
    basisOfRecord = c("HUMAN_OBSERVATION", "PRESERVED_SPECIMEN", "HUMAN_OBSERVATION", "HUMAN_OBSERVATION",
                      "HUMAN_OBSERVATION", "FOSSIL_SPECIMEN", "LIVING_SPECIMEN", rep("HUMAN_OBSERVATION", 5)),
    stringsAsFactors = FALSE)
}

write_tab <- function(rows, file, header = TRUE) {
  lines <- do.call(paste, c(unname(as.list(rows)), sep = "\t"))
  writeLines(c(if (header) paste(names(rows), collapse = "\t") else "ignored\theader", lines), file, useBytes = TRUE)
}

# A Darwin Core archive's descriptor for the rows' columns in `columns` order, under a header
# line it skips.
write_meta <- function(columns, file) {
  fields <- sprintf("<field index=\"%d\" term=\"http://rs.tdwg.org/dwc/terms/%s\"/>", seq_along(columns) - 1, columns)
  writeLines(c("<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<archive xmlns=\"http://rs.tdwg.org/dwc/text/\">",
               "<core encoding=\"UTF-8\" fieldsTerminatedBy=\"\\t\" linesTerminatedBy=\"\\n\" fieldsEnclosedBy=\"\"",
               "      ignoreHeaderLines=\"1\" rowType=\"http://rs.tdwg.org/dwc/terms/Occurrence\">",
               "<files><location>occurrence.txt</location></files>", "<id index=\"0\"/>", fields, "</core></archive>"),
             file)
}

skip_without_zip <- function() {
  if (!nzchar(Sys.getenv("R_ZIPCMD", unname(Sys.which("zip"))))) skip("no zip program to make the test's zips")
}

# `files` (paths under `dir`) zipped into `dir`/`zip`, with their folders.
make_zip <- function(dir, zip, files) {
  old <- setwd(dir)
  on.exit(setwd(old))
  utils::zip(zip, files, flags = "-q")
}

# The download in every form, in a fresh folder with the bundled regions.
local_downloads <- function(env = parent.frame()) {
  dir <- local_folder(extdata("regions.geojson"), env)
  rows <- download_rows()
  write_tab(rows, file.path(dir, "0001.csv"))
  dir.create(file.path(dir, "0002"))
  write_tab(rows, file.path(dir, "0002", "0002.csv"))
  make_zip(dir, "0002.zip", "0002/0002.csv")
  order <- rev(names(rows))  # the archive's columns in an order of their own
  dir.create(file.path(dir, "dwca"))
  write_meta(order, file.path(dir, "dwca", "meta.xml"))
  write_tab(rows[order], file.path(dir, "dwca", "occurrence.txt"), header = FALSE)
  make_zip(dir, "dwca.zip", c("dwca/meta.xml", "dwca/occurrence.txt"))
  dir
}

read_download <- function(dir, name, ...) {
  placed <- with_messages(el_records(occurrences = file.path(dir, name), regions = file.path(dir, "regions.geojson"),
                                     ...))
  attr(placed, "earlylate_file") <- NULL
  placed
}

batch_messages <- function(dir, name, options = character()) {
  out <- run_batch(batch_runner(), dir, c("--occurrences", name, "--regions", "regions.geojson", options,
                                          "--no-reliability"), character())
  out$stderr
}

test_that("a download gives the same points and messages as a file, a zip or an archive, as the batch runner", {
  local_time_limit(120)
  local_epoch()
  skip_without_zip()
  dir <- local_downloads()
  plain <- read_download(dir, "0001.csv")
  messages <- attr(plain, "messages")
  expect_length(messages, 2)
  expect_match(messages[1], "12 points, 6 placed, giving 5 first records", fixed = TRUE)
  expect_match(messages[1], paste("1 without a date, 1 without a species, 1 with bad coordinates (line 10),",
                                  "1 absent (occurrenceStatus), 1 fossil specimen and 1 living specimen set aside"),
               fixed = TRUE)
  expect_identical(plain$name, c("Alder", "Ash", "Aspen", "Birch"))
  expect_identical(plain$SpA, c("1985.45325342466", "1993", "NotYetArrived", "NotYetArrived"))
  expect_identical(plain$SpB, c("1999", "NotYetArrived", "2004.41530054645", "NotYetArrived"))
  expect_identical(plain$SpD, c("NotYetArrived", "NotYetArrived", "NotYetArrived", "1980"))
  expect_false("SpC" %in% names(plain))  # its only point is a living specimen
  for (name in c("0002.zip", "dwca.zip", "dwca")) {
    packed <- read_download(dir, name)
    expect_identical(packed, plain, label = name)
  }
  for (name in c("0001.csv", "0002.zip", "dwca.zip", "dwca"))
    expect_identical(batch_messages(dir, name)[1:2], messages, label = name)
})

test_that("keep_specimens, filter and min_regions choose the points as the batch runner's options do", {
  local_time_limit(120)
  local_epoch()
  skip_without_zip()
  dir <- local_downloads()
  kept <- read_download(dir, "dwca.zip", keep_specimens = TRUE)
  expect_match(attr(kept, "messages")[1], "fossil and living specimens kept", fixed = TRUE)
  expect_identical(kept$SpB[kept$name == "Aspen"], "1900")
  expect_identical(kept$SpC[kept$name == "Birch"], "1920")
  filtered <- read_download(dir, "0002.zip", filter = c("basisOfRecord=HUMAN_OBSERVATION", "year=1990,1993,1999"))
  expect_match(attr(filtered, "messages")[1], "3 of 12 lines of the occurrence file kept", fixed = TRUE)
  expect_identical(filtered$SpA, c(1990, 1993))
  few <- read_download(dir, "dwca", min_regions = 2)
  expect_false("SpD" %in% names(few))
  expect_match(attr(few, "messages")[2], "1 of 3 species recorded in fewer than 2 regions left out", fixed = TRUE)

  expect_identical(batch_messages(dir, "dwca.zip", "--keep-specimens")[1:2], attr(kept, "messages"))
  expect_identical(batch_messages(dir, "0002.zip", c("--filter", "basisOfRecord=HUMAN_OBSERVATION", "--filter",
                                                     "year=1990,1993,1999"))[1:3], attr(filtered, "messages"))
  expect_identical(batch_messages(dir, "dwca", c("--min-regions", "2"))[1:3], attr(few, "messages"))
})

test_that("downloads that cannot be read are refused with the batch runner's words", {
  local_time_limit(60)
  skip_without_zip()
  dir <- local_downloads()
  writeLines("x\n1", file.path(dir, "a.csv"))
  writeLines("x\n2", file.path(dir, "b.csv"))
  make_zip(dir, "two.zip", c("a.csv", "b.csv"))
  lines <- readLines(file.path(dir, "0001.csv"))
  writeLines(c(lines[1:3], paste0(lines[4], "\textra"), lines[-(1:4)]), file.path(dir, "ragged.tsv"))
  layer <- file.path(dir, "regions.geojson")
  refusal <- function(name) {
    conditionMessage(expect_error(el_records(occurrences = file.path(dir, name), regions = layer),
                                  class = "earlylate_error"))
  }
  expect_match(refusal("two.zip"), "holds no meta.xml and several delimited files (a.csv, b.csv)", fixed = TRUE)
  expect_match(refusal("ragged.tsv"), "line 4", ignore.case = TRUE)
  writeBin(c(charToRaw("PK"), as.raw(c(3, 4)), charToRaw("no zip after all")), file.path(dir, "damaged.zip"))
  expect_match(refusal("damaged.zip"), "damaged.zip could not be read as a zip archive", fixed = TRUE)
  for (name in c("two.zip", "ragged.tsv")) {
    said <- paste(batch_messages(dir, name), collapse = "\n")  # the batch runner names the file as given
    expect_true(grepl(sub(paste0(dir, "/"), "", refusal(name), fixed = TRUE), said, fixed = TRUE),
                label = paste(name, ":", said))
  }
  expect_error(el_records(file.path(dir, "0001.csv"), keep_specimens = TRUE), "occurrence points")
  expect_error(el_records(occurrences = file.path(dir, "0001.csv"), regions = layer, keep_specimens = NA),
               "TRUE or FALSE")
  expect_error(el_records(occurrences = file.path(dir, "0001.csv"), regions = layer, sheet = "x"), "records table")
  expect_error(el_records(occurrences = file.path(dir, "0001.csv"), regions = layer, filter = "kingdom=Plantae"),
               "kingdom", class = "earlylate_error")
})

test_that("a layer's features without a key or a geometry, and features sharing a key, place points as the batch runner", {
  local_time_limit(60)
  local_epoch()
  dir <- local_folder(character())
  square <- function(x, name) {
    sprintf("{\"type\":\"Feature\",\"properties\":{\"name\":%s},\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[[[%d,0],[%d,0],[%d,1],[%d,1],[%d,0]]]}}",
            name, x, x + 1, x + 1, x, x)
  }
  features <- c(square(0, "\"West\""), square(1, "null"), square(2, "\"East\""), square(3, "\"West\""),
                "{\"type\":\"Feature\",\"properties\":{\"name\":\"Nowhere\"},\"geometry\":null}")
  writeLines(sprintf("{\"type\":\"FeatureCollection\",\"features\":[%s]}", paste(features, collapse = ",")),
             file.path(dir, "regions.geojson"))
  # In West, in the keyless square, in West's second square, in East, and on the edge of
  # East and West's second square: West comes first in the layer.
  writeLines(c("species,decimalLongitude,decimalLatitude,year", "A,0.5,0.5,1990", "A,1.5,0.5,1980", "A,3.5,0.5,1970",
               "B,2.5,0.5,1999", "B,3,0.5,1960"), file.path(dir, "points.csv"))
  placed <- read_download(dir, "points.csv")
  expect_identical(placed$name, c("West", "East"))
  expect_identical(placed$A, c("1970", "NotYetArrived"))
  expect_identical(placed$B, c(1960, 1999))
  messages <- attr(placed, "messages")
  expect_match(messages[1], "1 outside every region", fixed = TRUE)
  expect_match(messages[2], "joined into 1 region", fixed = TRUE)
  expect_identical(batch_messages(dir, "points.csv")[1:2], messages)
})

test_that("a first-record table zipped or as an archive reads as the table itself, as the batch runner reads it", {
  local_time_limit(60)
  skip_without_zip()
  dir <- local_folder(character())
  rows <- data.frame(region = c("North", "North", "South", "East"), species = c("A", "B", "A", "B"),
                     year = c("1990", "2001", "1994", "1998"), stringsAsFactors = FALSE)
  write.csv(rows, file.path(dir, "first.csv"), row.names = FALSE, quote = FALSE)
  make_zip(dir, "first.zip", "first.csv")
  dir.create(file.path(dir, "dwca"))
  write_meta(c("year", "species", "locality"), file.path(dir, "dwca", "meta.xml"))
  write_tab(data.frame(rows$year, rows$species, rows$region), file.path(dir, "dwca", "occurrence.txt"), header = FALSE)
  dir.create(file.path(dir, "plain"))
  table <- with_messages(el_records(file.path(dir, "first.csv")))
  for (name in c("first.zip", "dwca")) {
    packed <- with_messages(el_records(file.path(dir, name)))
    expect_identical(unclass(packed)[c("name", "A", "B")], unclass(table)[c("name", "A", "B")], label = name)
    said <- run_batch(batch_runner(), dir, c("--records", name, "--no-reliability"), character())$stderr
    expect_identical(attr(packed, "messages"), said[seq_along(attr(packed, "messages"))], label = name)
  }
  refused <- expect_error(el_records(file.path(dir, "plain")), class = "earlylate_error")
  expect_match(conditionMessage(refused), "is a folder but no Darwin Core archive (it holds no meta.xml)", fixed = TRUE)
})
