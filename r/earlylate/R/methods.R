# Printing, summing up and mapping a forecast.

#' @method print earlylate_forecast
#' @export
#' @noRd
print.earlylate_forecast <- function(x, ...) {
  regions <- .el_plain(x$regions)
  cat(sprintf("earlylate forecast of %s: %d regions (%d used), %d species, %s\n", x$file_name, nrow(regions),
              sum(regions$used == "yes"), nrow(x$species),
              if (is.null(x$target)) "no target species" else sprintf("target %s", x$target)))
  if (!is.null(x$grid)) cat(sprintf("examine weight: %d power pairs\n", nrow(x$grid)))
  fit <- .el_shown_species(x)
  if (!is.null(fit)) {
    if (fit$predictable) {
      cat(sprintf("%s: predicted = %.6g x score + %.6g; r training = %s (%d regions)\n", fit$name, fit$a, fit$b,
                  format(fit$r_training, digits = 4), fit$n_training))
      column <- regions[[paste0("Predicted_", fit$name)]]
      cat(sprintf("predicted dates from %.1f to %.1f\n", min(column, na.rm = TRUE), max(column, na.rm = TRUE)))
    } else {
      cat(sprintf("%s is not predictable\n", fit$name))
    }
  }
  cat(.el_skill_lines(x$target, x$species, regions), sep = "\n")
  cat(sprintf("log: %d lines; $regions, $species, $weights, $log\n", length(x$log)))
  invisible(x)
}

#' @method summary earlylate_forecast
#' @export
#' @noRd
summary.earlylate_forecast <- function(object, ...) {
  regions <- .el_plain(object$regions)
  structure(list(file_name = object$file_name, target = object$target, species = object$species,
                 regions = nrow(regions), used = sum(regions$used == "yes"),
                 roles = table(factor(regions$role, levels = c("training", "validation")), useNA = "no"),
                 weights = object$weights, seconds = object$seconds,
                 skill = .el_skill_lines(object$target, object$species, regions),
                 risk = .el_risk_lines(object$risk)),
            class = "summary.earlylate_forecast")
}

#' @method print summary.earlylate_forecast
#' @export
#' @noRd
print.summary.earlylate_forecast <- function(x, ...) {
  cat(sprintf("earlylate forecast of %s (%s)\n", x$file_name,
              if (is.null(x$target)) "no target species" else paste("target", x$target)))
  cat(sprintf("regions: %d, used %d, training %d, validation %d\n", x$regions, x$used,
              x$roles[["training"]], x$roles[["validation"]]))
  cat(sprintf("species weights (%s):\n", attr(x$weights, "mode")))
  print(x$weights, row.names = FALSE)
  cat("fits:\n")
  print(x$species, row.names = FALSE)
  cat(x$skill, sep = "\n")
  cat(x$risk, sep = "\n")
  cat(sprintf("run time: %.2f s\n", x$seconds))
  invisible(x)
}

# The map of predicted dates of one species (by default the target, else the first one
# predictable), framed on the regions' main parts as the batch runner frames its map (an
# overseas territory does not widen it); `extent` (anything st_bbox reads) sets another frame.
#' @method plot earlylate_forecast
#' @export
#' @noRd
plot.earlylate_forecast <- function(x, species = NULL, ..., extent = .el_main_parts_extent(x$regions)) {
  if (!inherits(x$regions, "sf")) stop("the data had no geometry: there is no map to draw", call. = FALSE)
  if (is.null(species)) species <- .el_shown_species(x)$name
  column <- paste0("Predicted_", species)
  if (length(column) != 1 || !column %in% names(x$regions))
    stop(sprintf("no predicted dates of \"%s\" in this forecast", paste(species, collapse = ",")), call. = FALSE)
  plot(x$regions[column], main = sprintf("Predicted date of %s", species), extent = extent, ...)
  invisible(x)
}

# The risk's lines: its check said plainly, then what was left out and why.
.el_risk_lines <- function(risk) {
  if (is.null(risk)) return(character())
  c(sprintf("risk of a first record within %s years of %s:", format(risk$horizon), format(risk$as_of)),
    paste0("  ", risk$sentences), if (length(risk$notes)) paste0("  note: ", risk$notes))
}

.el_plain <- function(regions) if (inherits(regions, "sf")) sf::st_drop_geometry(regions) else regions

# The box of the regions' main parts: each region's largest polygon (its longest line, all
# of its points), plus every other part whose box lies within that box grown by a quarter
# of its width and height on each side. Areas are planar, in the layer's units, weighed by
# the cosine of the latitude in longitude/latitude layers.
.el_main_parts_extent <- function(regions) {
  geometry <- sf::st_geometry(regions)
  box <- sf::st_bbox(geometry)
  lon_lat <- isTRUE(sf::st_is_longlat(regions)) ||
    (is.na(sf::st_crs(regions)) && box[["xmin"]] >= -180 && box[["xmax"]] <= 360 && box[["ymin"]] >= -90 &&
       box[["ymax"]] <= 90)
  parts <- lapply(seq_along(geometry), function(i) .el_region_parts(geometry[[i]], lon_lat))
  box_of <- function(p) c(range(p[, 1]), range(p[, 2]))[c(1, 3, 2, 4)]
  main <- do.call(rbind, lapply(parts, function(r) if (length(r$parts)) box_of(r$parts[[r$main]])))
  if (is.null(main)) return(box)
  frame <- c(min(main[, 1]), min(main[, 2]), max(main[, 3]), max(main[, 4]))
  grow <- c(-1, -1, 1, 1) * rep(c(frame[3] - frame[1], frame[4] - frame[2]), 2) / 4
  near <- frame + grow
  for (r in parts) for (k in seq_along(r$parts)) {
    b <- box_of(r$parts[[k]])
    if (k != r$main && b[1] >= near[1] && b[2] >= near[2] && b[3] <= near[3] && b[4] <= near[4])
      frame <- c(min(frame[1], b[1]), min(frame[2], b[2]), max(frame[3], b[3]), max(frame[4], b[4]))
  }
  sf::st_bbox(stats::setNames(frame, c("xmin", "ymin", "xmax", "ymax")), crs = sf::st_crs(regions))
}

# One region's parts as coordinate matrices (outer rings, lines, or one matrix of its points)
# and which of them stands for it.
.el_region_parts <- function(g, lon_lat) {
  measure <- function(m) {
    if (nrow(m) < 2) return(0)
    x <- m[, 1]; y <- m[, 2]; n <- length(x); j <- c(2:n, 1)
    abs(sum(x * y[j] - x[j] * y)) / 2
  }
  length_of <- function(m) if (nrow(m) < 2) 0 else sum(sqrt(diff(m[, 1])^2 + diff(m[, 2])^2))
  if (inherits(g, c("POLYGON", "MULTIPOLYGON"))) {
    rings <- if (inherits(g, "POLYGON")) list(g[[1]]) else lapply(g, function(p) p[[1]])
    area <- vapply(rings, function(m) measure(m) * (if (lon_lat) max(0, cospi(mean(m[, 2]) / 180)) else 1), 0)
    return(list(parts = rings, main = which.max(area)))
  }
  if (inherits(g, c("LINESTRING", "MULTILINESTRING"))) {
    lines <- if (inherits(g, "LINESTRING")) list(unclass(g)) else unclass(g)
    return(list(parts = lines, main = which.max(vapply(lines, length_of, 0))))
  }
  points <- sf::st_coordinates(g)
  if (length(points) == 0) return(list(parts = list(), main = 0))
  list(parts = list(points[, 1:2, drop = FALSE]), main = 1)
}

.el_shown_species <- function(x) {
  species <- x$species
  if (nrow(species) == 0) return(NULL)
  pick <- if (any(species$target)) which(species$target) else which(species$predictable)[1]
  if (is.na(pick[1])) pick <- 1
  as.list(species[pick[1], ])
}

# What the target's dates are worth, one line each: no skill (not predictable, or training r
# not above 0), the overdue regions (not reached yet, predicted no later than the target's
# latest date), and what the trial spread measures. Nothing without a target.
.el_skill_lines <- function(target, species, regions) {
  if (is.null(target) || !"overdue" %in% names(regions)) return(character())
  fit <- as.list(species[species$name == target, ][1, ])
  lines <- character()
  if (!isTRUE(fit$predictable) || is.na(fit$r_training) || fit$r_training <= 0)
    lines <- c(lines, sprintf("%s: the dates do not follow the region scores: this forecast has no skill for this species",
                              target))
  used <- regions$used == "yes"
  unreached <- sum(used & regions$actual %in% c("NotYetArrived", "\u672a\u5206\u5e03"))
  overdue <- sum(regions$overdue %in% "yes")
  if (isTRUE(fit$predictable) && unreached > 0)
    lines <- c(lines, sprintf("overdue: %d of the %d regions not reached yet are predicted no later than the latest date",
                              overdue, unreached))
  if (any(!is.na(regions$date_sd)))
    lines <- c(lines, sprintf(paste("date_sd, the stability of the region score under resampling (not the error of a",
                                    "date): mean %.3g"), mean(regions$date_sd, na.rm = TRUE)))
  lines
}
