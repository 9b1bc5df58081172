# Generated from the core's settings table by r/tools/settings-r (scripts/install-r writes it
# anew); do not edit by hand.

.el_settings <- data.frame(
  name = c("datafilename", "logfilename", "skipformatcheck", "targetspecies", "autoweight", "excludelimited", "excludinglimit", "addprediction", "weightpower", "samplen", "examineweight", "trainingratio", "iterationn", "doreliability", "simoutput", "missingmode", "elmatrixoutput", "threads"),
  kind = c("text", "text", "check", "text", "check", "check", "text", "check", "text", "text", "check", "text", "text", "check", "choice", "choice", "choice", "text"),
  startup = c("vector.csv", "log.csv", "1", "", "0", "0", "5", "0", "6.65", "0", "0", "1", "100", "1", "none", "matrix", "none", ""),
  caption = c("File name", "File name to save log", "skip vector file format chek", "Target species (whole list too)", "Automatic weight for the case without target species", "Exclude regions with limited number of vaiable species", "excluding limit ", "Add prediction to source file", "Similarity", "N of samples", "examine weight", "Training regions / all (1-0)", "iteration", "Reliability", "Output similarity dissimilarity matrix", "Missing value in early-late matrix", "Output early-late matrix", ""),
  help = c("name of the vector file in the chosen folder", "write the log lines to FILE as \"Save log\" does (default: standard output)", "run the duplicate-name and crossing-boundary checks of the reader (default: skipped)", "target species, also one of the species analysed (default: none)", "automatic species weights when there is no target species", "exclude regions with few early-late relations", "exclude regions with at most N early-late relations", "write the prediction back into FILE as new variables", "power applied to the similarity in the species weight", "power applied to the number of samples in the species weight", "run over the 200 x 200 grid of weighting powers and write WeightTest<target>.csv", "share of the target's regions kept for training", "number of fluctuation trials", "skip the fluctuation trials", "write the species similarity or dissimilarity matrix to the log", "fill missing cells of the early-late matrix with the row or the matrix average", "write the adjusted early-late matrix to the log", "compute on N threads; the results are the same for any N (default: every core)"),
  stringsAsFactors = FALSE
)

.el_choices <- list(
  simoutput = c("similarity", "distance", "none"),
  missingmode = c("row", "matrix"),
  elmatrixoutput = c("detailed", "none")
)

.el_arguments <- data.frame(
  argument = c("target", "training", "reliability", "trials", "weight_power", "sample_power", "auto_weight", "exclude_limit", "missing", "threads", "similarity_output", "el_matrix"),
  setting = c("targetspecies", "trainingratio", "doreliability", "iterationn", "weightpower", "samplen", "autoweight", "excludinglimit", "missingmode", "threads", "simoutput", "elmatrixoutput"),
  form = c("optional_text", "number", "flag", "number", "number", "number", "flag", "limit", "choice", "optional_count", "choice", "choice"),
  check_box = c("", "", "", "", "", "", "", "excludelimited", "", "", "", ""),
  stringsAsFactors = FALSE
)

.el_forecast_formals <- alist(x = ,
  target = NULL,
  species = NULL,
  training = 1,
  reliability = TRUE,
  trials = 100,
  weight_power = 6.65,
  sample_power = 0,
  auto_weight = FALSE,
  exclude_limit = NULL,
  missing = c("matrix", "row"),
  threads = 2L,
  similarity_output = c("none", "similarity", "distance"),
  el_matrix = c("none", "detailed"),
  name = "name",
  file_name = NULL,
  risk_horizon = NULL,
  as_of = NULL)

.el_read_formals <- alist(path = , encoding = "auto", format_check = FALSE)

.el_hindcast_formals <- alist(x = , target = NULL, years = , ... = , targets = NULL,
  min_before = 5,
  min_after = 3,
  min_unreached = 1)

.el_records_switches <- alist(keep_specimens = FALSE)
