# A data frame a user builds by hand, or an sf layer from any GIS file, gives the forecast
# the vector file gives.

# The bundled sample as a table typed by hand: numbers where a column holds only numbers,
# texts where it also holds keywords, NA for the empty cell.
sample_table <- function() {
  data.frame(
    name = c("Aomori", "Akita", "Iwate", "Yamagata", "Miyagi", "Fukushima", "Niigata", "Tochigi", "Gunma",
             "Ibaraki", "Saitama", "Chiba"),
    SpA = c("1959", "1964", "1968", "1969", "1953", "1960", "1962", "1967", "1952", "\u5206\u5e03", "1960", "1962"),
    SpB = c("1968", "1971", "1974", "Unknown", "1965", "1968", "1971", "1973", "1963", "1967", "1968", "1970"),
    SpC = c(1980, 1987, 1991, 1996, 1978, NA, 1986, 1991, 1973, 1976, 1983, 1988),
    SpD = c("1985", "1989.5", "\u672a\u5206\u5e03", "1992.5", "1982.5", "1987", "1989.5", "1992", "1980", "1983.5",
            "1985", "1986.5"),
    Invader = factor(c("2001", "2004", "NotYetArrived", "NotYetArrived", "1998", "2000", "2004", "Arrived", "1995",
                       "1998", "2001", "2004")),
    stringsAsFactors = FALSE)
}

without_geometry <- function(fc) {
  fc$regions <- sf::st_drop_geometry(fc$regions)
  fc$seconds <- NULL
  fc
}

test_that("a plain data frame gives the forecast of the vector file", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(60)
  local_epoch()
  from_file <- suppressWarnings(el_forecast(el_read(extdata("sample.csv")), target = "Invader"))
  from_table <- suppressWarnings(el_forecast(sample_table(), target = "Invader", file_name = "sample.csv"))
  expect_false(inherits(from_table$regions, "sf"))
  expect_true(inherits(from_file$regions, "sf"))
  expect_identical(without_geometry(from_table), without_geometry(from_file))
  # Numbers typed as numbers or as the file's texts are the same dates.
  numeric_table <- sample_table()
  numeric_table$SpB[numeric_table$SpB == "Unknown"] <- NA
  numeric_table$SpB <- as.numeric(numeric_table$SpB)
  texts <- sample_table()
  texts$SpB[texts$SpB == "Unknown"] <- NA
  expect_identical(suppressWarnings(el_forecast(numeric_table, "Invader"))$log,
                   suppressWarnings(el_forecast(texts, "Invader"))$log)
})

test_that("dates of R are decimal years, and the log names a plain data frame", {
  local_time_limit(30)
  local_epoch()
  table <- sample_table()
  years <- as.numeric(as.character(table$SpC))
  table$SpC <- as.Date(ifelse(is.na(years), NA, sprintf("%d-01-01", years)))
  as_dates <- suppressWarnings(el_forecast(table, "Invader", reliability = FALSE))
  as_years <- suppressWarnings(el_forecast(sample_table(), "Invader", reliability = FALSE))
  expect_identical(as_dates$log, as_years$log)
  expect_true("File name: data frame" %in% as_dates$log)
  table$SpC <- as.Date("2000-07-02")  # day 184 of a leap year
  expect_identical(earlylate:::.el_column_values(table$SpC)[1], 2000 + 183 / 366)
})

test_that("el_read takes a GIS layer and gives the vector file's values and geometry", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(60)
  local_epoch()
  x <- el_read(extdata("sample.csv"))
  expect_identical(names(x), c("name", "SpA", "SpB", "SpC", "SpD", "Invader", "geometry"))
  expect_identical(x$SpC[1:6], c(1980, 1987, 1991, 1996, 1978, NA))
  expect_identical(x$Invader[3], "NotYetArrived")
  expect_identical(x$SpA[10], "\u5206\u5e03")
  expect_identical(as.character(sf::st_geometry_type(x)[c(1, 5)]), c("POLYGON", "MULTIPOLYGON"))
  dir <- local_folder(character())
  layer <- file.path(dir, "sample.gpkg")
  sf::st_write(x, layer, quiet = TRUE)
  from_gis <- el_read(layer)
  expect_identical(sf::st_drop_geometry(from_gis)[names(x)[-7]], sf::st_drop_geometry(x)[names(x)[-7]],
                   ignore_attr = TRUE)
  expect_identical(sf::st_crs(from_gis), sf::NA_crs_)
  expect_identical(sf::st_as_binary(sf::st_geometry(from_gis)), sf::st_as_binary(sf::st_geometry(x)))
  a <- suppressWarnings(el_forecast(from_gis, "Invader", file_name = "sample.csv"))
  b <- suppressWarnings(el_forecast(x, "Invader"))
  expect_identical(a$log, b$log)
})

test_that("an sf data frame keeps its geometry in the regions table, and the forecast prints and maps", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(30)
  local_epoch()
  fc <- suppressWarnings(el_forecast(el_read(extdata("sample.csv")), "Invader", reliability = FALSE))
  expect_identical(sf::st_geometry(fc$regions), sf::st_geometry(el_read(extdata("sample.csv"))))
  expect_output(print(fc), "target Invader")
  expect_output(print(summary(fc)), "training 9, validation 0")
  grDevices::pdf(NULL)
  on.exit(grDevices::dev.off(), add = TRUE)
  expect_silent(plot(fc))
  expect_error(plot(fc, species = "Nothing"), "no predicted dates")
  plain <- suppressWarnings(el_forecast(sample_table(), "Invader", reliability = FALSE))
  expect_error(plot(plain), "no geometry")
  # An sf data frame that lost its class keeps its geometry column, and still counts as one.
  unclassed <- as.data.frame(el_read(extdata("sample.csv")))
  expect_identical(suppressWarnings(el_forecast(unclassed, "Invader", reliability = FALSE))$regions, fc$regions)
})
