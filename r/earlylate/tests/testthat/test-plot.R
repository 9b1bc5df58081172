# The map's frame: the regions' main parts, not an overseas territory far away.

square <- function(x, y, side) {
  matrix(c(x, y, x + side, y, x + side, y + side, x, y + side, x, y), ncol = 2, byrow = TRUE)
}

test_that("the frame of the map leaves out far small parts", {
  france <- sf::st_multipolygon(list(list(square(8.5, 41.5, 1)), list(square(-4, 43, 8)),
                                     list(square(-54, 2, 3)), list(square(55, -21, 0.7))))
  germany <- sf::st_polygon(list(square(6, 47, 8)))
  regions <- sf::st_sf(name = c("France", "Germany"), geometry = sf::st_sfc(france, germany, crs = 4326))
  frame <- earlylate:::.el_main_parts_extent(regions)
  expect_equal(unname(as.numeric(frame)), c(-4, 41.5, 14, 55))

  points <- sf::st_sf(name = c("a", "b"), geometry = sf::st_sfc(sf::st_point(c(1, 2)), sf::st_point(c(3, 5))))
  expect_equal(unname(as.numeric(earlylate:::.el_main_parts_extent(points))), c(1, 2, 3, 5))
})
