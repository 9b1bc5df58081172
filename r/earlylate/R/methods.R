# Printing, summing up and mapping a forecast.

print.earlylate_forecast <- function(x, ...) {
  regions <- sf::st_drop_geometry(x$regions)
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

summary.earlylate_forecast <- function(object, ...) {
  regions <- sf::st_drop_geometry(object$regions)
  structure(list(file_name = object$file_name, target = object$target, species = object$species,
                 regions = nrow(regions), used = sum(regions$used == "yes"),
                 roles = table(factor(regions$role, levels = c("training", "validation")), useNA = "no"),
                 weights = object$weights, seconds = object$seconds,
                 skill = .el_skill_lines(object$target, object$species, regions)),
            class = "summary.earlylate_forecast")
}

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
  cat(sprintf("run time: %.2f s\n", x$seconds))
  invisible(x)
}

# The map of predicted dates of one species (by default the target, else the first one
# predictable).
plot.earlylate_forecast <- function(x, species = NULL, ...) {
  if (!inherits(x$regions, "sf")) stop("the data had no geometry: there is no map to draw", call. = FALSE)
  if (is.null(species)) species <- .el_shown_species(x)$name
  column <- paste0("Predicted_", species)
  if (length(column) != 1 || !column %in% names(x$regions))
    stop(sprintf("no predicted dates of \"%s\" in this forecast", paste(species, collapse = ",")), call. = FALSE)
  plot(x$regions[column], main = sprintf("Predicted date of %s", species), ...)
  invisible(x)
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
