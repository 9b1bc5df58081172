# Printing, summing up and mapping a forecast.

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
  cat(sprintf("log: %d lines; $regions, $species, $weights, $log\n", length(x$log)))
  invisible(x)
}

summary.earlylate_forecast <- function(object, ...) {
  regions <- .el_plain(object$regions)
  structure(list(file_name = object$file_name, target = object$target, species = object$species,
                 regions = nrow(regions), used = sum(regions$used == "yes"),
                 roles = table(factor(regions$role, levels = c("training", "validation")), useNA = "no"),
                 weights = object$weights, seconds = object$seconds),
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

.el_plain <- function(regions) if (inherits(regions, "sf")) sf::st_drop_geometry(regions) else regions

.el_shown_species <- function(x) {
  species <- x$species
  if (nrow(species) == 0) return(NULL)
  pick <- if (any(species$target)) which(species$target) else which(species$predictable)[1]
  if (is.na(pick[1])) pick <- 1
  as.list(species[pick[1], ])
}
