# Geometries of every kind an sf data frame may hold reach the core as the objects a
# vector file would hold, and come back from el_read as the like geometry.

ring <- function(...) matrix(c(...), ncol = 2, byrow = TRUE)

# One region per geometry, all with the same species values.
regions_of <- function(geometry) {
  sf::st_sf(name = paste0("R", seq_along(geometry)), SpA = seq_along(geometry) + 1990,
            geometry = geometry)
}

test_that("every kind of geometry makes the round trip through a GIS file and the core", {
  skip_if_not_installed("sf")
  local_time_limit(30)
  square <- ring(0, 0, 4, 0, 4, 4, 0, 4, 0, 0)
  hole <- ring(1, 1, 2, 1, 2, 2, 1, 1)
  given <- sf::st_sfc(
    sf::st_point(c(1.5, 2.25)),
    sf::st_linestring(ring(0, 0, 1, 1, 2, 0)),
    sf::st_polygon(list(square)),
    sf::st_multilinestring(list(ring(0, 0, 1, 1), ring(2, 2, 3, 3, 4, 2))),
    sf::st_polygon(list(square, hole)),
    sf::st_multipolygon(list(list(square, hole), list(ring(5, 5, 6, 5, 6, 6, 5, 5)))),
    sf::st_multipoint(ring(7, 8)))
  # A polygon with a hole is an "area", which comes back as a multipolygon; a multipoint of
  # one point is a point.
  expected <- given
  expected[[5]] <- sf::st_multipolygon(list(list(square, hole)))
  expected[[7]] <- sf::st_point(c(7, 8))
  dir <- local_folder(character())
  layer <- file.path(dir, "kinds.geojson")
  sf::st_write(regions_of(given), layer, quiet = TRUE)
  read <- suppressWarnings(el_read(layer))
  expect_identical(read$name, paste0("R", 1:7))
  expect_identical(read$SpA, 1991:1997 + 0)
  expect_identical(lapply(sf::st_geometry(read), unclass), lapply(expected, unclass))
  # Z values are dropped.
  layer <- file.path(dir, "z.geojson")
  sf::st_write(regions_of(sf::st_sfc(sf::st_point(c(1, 2, 3)), sf::st_linestring(rbind(c(0, 0, 5), c(1, 1, 6))))),
               layer, quiet = TRUE)
  flat <- sf::st_geometry(suppressWarnings(el_read(layer)))
  expect_identical(lapply(flat, unclass), list(c(1, 2), ring(0, 0, 1, 1)))
})

test_that("geometries without a vector file form are refused, naming the region", {
  skip_if_not_installed("sf")
  local_time_limit(30)
  refused <- function(geometry) {
    x <- regions_of(sf::st_sfc(sf::st_point(c(0, 0)), geometry))
    conditionMessage(expect_error(el_forecast(x, reliability = FALSE)))
  }
  expect_match(refused(sf::st_multipoint(ring(0, 0, 1, 1))), "region \"R2\": a multipoint of 2 points cannot be one region",
               fixed = TRUE)
  expect_match(refused(sf::st_geometrycollection(list(sf::st_point(c(1, 1))))),
               "a geometrycollection has no vector file form", fixed = TRUE)
  expect_match(refused(sf::st_linestring()), "region \"R2\": the geometry is empty", fixed = TRUE)
  expect_match(refused(sf::st_point()), "the geometry is empty", fixed = TRUE)
})
