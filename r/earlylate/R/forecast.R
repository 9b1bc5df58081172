# Forecasts, examine-weight runs and hindcasts on a data frame. The formals of el_forecast
# come from the settings table (R/settings.R), so its names and defaults are the window's
# and the batch runner's.

# The help page of these three is made with the run arguments from the settings table
# (man/el_forecast.Rd), not from these comments.

#' @export
#' @noRd
el_forecast <- function() {
  args <- mget(names(.el_forecast_formals)[-1], environment())
  if (!is.null(args$risk_horizon) && is.null(args$target))
    stop("risk_horizon needs a target species (target = NAME)", call. = FALSE)
  .el_forecast_run(x, args, risk = list(risk_horizon = args$risk_horizon, as_of = args$as_of))
}
formals(el_forecast) <- .el_forecast_formals

#' @export
#' @noRd
el_examine_weight <- function(x, target, ...) {
  args <- .el_run_args(c(list(target = target), list(...)))
  result <- .el_forecast_run(x, args, examine = TRUE)
  grid <- as.data.frame(result$grid)
  attr(grid, "log") <- result$log
  grid
}

#' @export
#' @noRd
el_hindcast <- function() {
  if (!is.numeric(years) || length(years) == 0 || anyNA(years))
    stop("years must be one or more cut-off years", call. = FALSE)
  if (!is.null(targets)) return(.el_hindcast_all(x, target, years, list(...), targets,
                                                 c(min_before, min_after, min_unreached)))
  args <- .el_run_args(c(list(target = target), list(...)))
  parts <- .el_parts_of(x, args)
  out <- el_hindcast_cpp(parts$names, parts$columns, parts$geometry, .el_settings_of(args),
                         args$species, parts$file_name, as.numeric(years))
  .el_warn_input(out$warnings)
  .el_stop_on_failure(out)
  .el_warn_ignored(out$ignored)
  table <- as.data.frame(out$table, stringsAsFactors = FALSE)
  # Without geometry every region stands at one placeholder point: no distance to rank by.
  if (is.null(parts$geometry)) table$distance_auc <- table$distance_spearman <- NA_real_
  for (i in which(table$error != "")) warning(sprintf("The hindcast for %s stopped: %s", table$year[i], table$error[i]),
                                               call. = FALSE)
  table$error[table$error == ""] <- NA_character_
  attr(table, "log") <- out$log
  table
}
formals(el_hindcast) <- .el_hindcast_formals

# The hindcast with each eligible species of `targets` ("all" or names) as the target in turn.
.el_hindcast_all <- function(x, target, years, more, targets, rules) {
  if (!is.character(targets) || length(targets) == 0 || anyNA(targets))
    stop("targets must be \"all\" or one or more species names", call. = FALSE)
  if (!is.numeric(rules) || anyNA(rules) || any(rules < 0) || any(rules != round(rules)))
    stop("min_before, min_after and min_unreached must be whole numbers of at least 0", call. = FALSE)
  args <- .el_run_args(c(list(target = target), more))
  parts <- .el_parts_of(x, args)
  out <- el_hindcast_all_cpp(parts$names, parts$columns, parts$geometry, .el_settings_of(args), args$species,
                             parts$file_name, as.numeric(years), paste(targets, collapse = ","), as.integer(rules))
  .el_stop_on_failure(out)
  .el_warn_ignored(out$ignored)
  for (text in out$messages) warning(text, call. = FALSE)
  table <- as.data.frame(out$table, stringsAsFactors = FALSE)
  per_year <- as.data.frame(out$years, stringsAsFactors = FALSE)
  if (is.null(parts$geometry)) {
    table$distance_auc <- table$distance_spearman <- NA_real_
    per_year$auc_beats_distance <- NA_real_
  }
  attr(table, "years") <- per_year
  table
}

.el_parts_of <- function(x, args) {
  if (!is.null(args$species) && (!is.character(args$species) || anyNA(args$species) || length(args$species) == 0))
    stop("species must name one or more species columns", call. = FALSE)
  file_name <- if (is.null(args$file_name)) attr(x, "earlylate_file") else args$file_name
  .el_frame_parts(x, args$name, file_name, args$species)
}

.el_forecast_run <- function(x, args, examine = FALSE, risk = list()) {
  parts <- .el_parts_of(x, args)
  work <- tempfile("earlylate")
  dir.create(work)
  on.exit(unlink(work, recursive = TRUE), add = TRUE)
  out <- el_run_cpp(parts$names, parts$columns, parts$geometry, .el_settings_of(args), args$species,
                    parts$file_name, examine, work, risk)
  .el_warn_input(out$warnings)
  .el_stop_on_failure(out)
  .el_warn_ignored(out$ignored)
  for (text in out$messages) warning(text, call. = FALSE)
  .el_result(out, parts)
}

.el_result <- function(out, parts) {
  regions <- as.data.frame(out$regions, stringsAsFactors = FALSE, optional = TRUE)
  if (!is.null(parts$sfc)) regions <- sf::st_sf(regions, geometry = parts$sfc)
  species <- as.data.frame(out$species, stringsAsFactors = FALSE)
  weights <- out$weights
  mode <- attr(weights, "mode")
  weights <- as.data.frame(weights[names(weights) != ""], stringsAsFactors = FALSE)
  attr(weights, "mode") <- mode
  target <- species$name[species$target]
  structure(list(regions = regions, species = species, weights = weights, log = out$log,
                 target = if (length(target)) target else NULL, settings = out$settings,
                 file_name = parts$file_name, date = out$date, seconds = out$seconds,
                 messages = out$messages, grid = if (!is.null(out$grid)) as.data.frame(out$grid),
                 risk = .el_risk_of(out$risk)),
            class = "earlylate_forecast")
}

# The risk list as the core gives it, its reliability table a data frame.
.el_risk_of <- function(risk) {
  if (is.null(risk)) return(NULL)
  if (!is.null(risk$check$reliability)) risk$check$reliability <- as.data.frame(risk$check$reliability)
  risk
}

# An R error with the tool's own text, carrying the log written before the stop.
.el_stop_on_failure <- function(out) {
  if (is.null(out$error)) return(invisible())
  condition <- structure(class = c("earlylate_error", "error", "condition"),
                         list(message = out$error, call = NULL, log = out$log))
  stop(condition)
}

.el_warn_ignored <- function(ignored) {
  for (setting in ignored)
    warning(sprintf("this build of the earlylate core has no setting \"%s\"; its argument was ignored", setting),
            call. = FALSE)
}

# A warning of class earlylate_warning: the input may not say what the user meant. A kind
# ("undated_species", ...) adds the class earlylate_KIND before it.
.el_warning <- function(text, kind = NULL) {
  classes <- c(if (!is.null(kind) && nzchar(kind)) paste0("earlylate_", kind), "earlylate_warning", "warning",
               "condition")
  warning(structure(class = classes, list(message = text, call = NULL)))
}

# The input's warnings, each named by its kind.
.el_warn_input <- function(warnings) {
  kinds <- names(warnings)
  for (i in seq_along(warnings)) .el_warning(unname(warnings[[i]]), if (is.null(kinds)) NULL else kinds[[i]])
}
