# How the lines of references.txt were computed: in R alone, from the data file and, for
# the figures that follow the permutation counts, from the counts of Rankora's run (read
# back from its CSV as p (permutations + 1) - 1). Not run by the suite: R is not among the
# test packages; run it again to add a reference run.
# Usage: Rscript references.R RUN DATA READER JUDGES TIES PERMUTATIONS GLOBAL_COUNT CSV
#   READER  "table" (numbers only, blank-separated), "csv" (a header row and a first
#           column of names, commas) or "csv2" (the same with semicolons and decimal commas)
#   JUDGES  "rows" or "columns"; TIES "corrected" or "uncorrected"
args <- commandArgs(trailingOnly = TRUE)
run <- args[1]
y <- switch(args[3],
  csv = as.matrix(read.csv(args[2], row.names = 1, check.names = FALSE)),
  csv2 = as.matrix(read.csv2(args[2], row.names = 1, check.names = FALSE)),
  as.matrix(read.table(args[2]))
)
if (args[4] == "columns") y <- t(y)
corrected <- args[5] == "corrected"
nperm <- as.numeric(args[6])
global_count <- as.numeric(args[7])
judges <- read.csv(args[8])
m <- nrow(y)
n <- ncol(y)

# Kendall's W of a judges-by-objects table from its ranks, with or without the
# correction for ties.
kendall_w <- function(y) {
  m <- nrow(y)
  n <- ncol(y)
  r <- t(apply(y, 1, rank))
  s <- sum((colSums(r) - m * (n + 1) / 2)^2)
  ties <- sum(apply(y, 1, function(row) {
    t <- table(row)
    sum(t^3 - t)
  }))
  12 * s / (m^2 * (n^3 - n) - if (corrected) m * ties else 0)
}

out <- function(pointer, value, how) {
  cat(run, " | ", pointer, " | ", paste(sprintf("%.17g", value), collapse = " "), " | ", how,
      "\n", sep = "")
}

w <- kendall_w(y)
chi <- m * (n - 1) * w
f <- (m - 1) * w / (1 - w)
tie_note <- if (corrected) "with" else "without"
out("global/W", w, paste("12 S / (m^2 (n^3 - n) - m T), from the ranks,", tie_note, "ties"))
out("global/chi_square", chi, "m (n - 1) W")
if (corrected) out("global/chi_square", friedman.test(y)$statistic, "friedman.test(y)$statistic")
out("global/p_chi_square", pchisq(chi, n - 1, lower.tail = FALSE),
    "pchisq(chi_square, n - 1, lower.tail = FALSE)")
out("global/F", f, "(m - 1) W / (1 - W)")
out("global/p_F", pf(f, n - 1, (n - 1) * (m - 1), lower.tail = FALSE),
    "pf(F, n - 1, (n - 1) (m - 1), lower.tail = FALSE)")
if (nperm > 0) {
  out("global/p_interval_99", binom.test(global_count, nperm, conf.level = 0.99)$conf.int,
      sprintf("binom.test(%d, %d, conf.level = 0.99)$conf.int", global_count, nperm))
}
# A judge's mean Spearman correlation with the others, a constant judge's correlations
# counted as 0; and its W(j), the W that mean correlation stands for.
rho <- suppressWarnings(cor(t(y), method = "spearman"))
rho[is.na(rho)] <- 0
diag(rho) <- 0
rbar <- rowSums(rho) / (m - 1)
p <- judges$p[order(judges$judge)]
counts <- round(p * (nperm + 1)) - 1
holm <- p.adjust(p, "holm")
bonferroni <- p.adjust(p, "bonferroni")
for (j in seq_len(m)) {
  judge <- paste("judge", j)
  out(paste0(judge, "/rbar"), rbar[j],
      "mean of cor(t(y), method = \"spearman\") with the others, NA as 0")
  out(paste0(judge, "/W"), ((m - 1) * rbar[j] + 1) / m, "((m - 1) rbar + 1) / m")
  out(paste0(judge, "/W_without"), kendall_w(y[-j, , drop = FALSE]),
      paste("the same W of the table less judge", j))
  out(paste0(judge, "/p_holm"), holm[j], "p.adjust(p, \"holm\"), p from the run's counts")
  out(paste0(judge, "/p_bonferroni"), bonferroni[j], "p.adjust(p, \"bonferroni\")")
  if (nperm > 0) {
    out(paste0(judge, "/p_interval_99"), binom.test(counts[j], nperm, conf.level = 0.99)$conf.int,
        sprintf("binom.test(%d, %d, conf.level = 0.99)$conf.int", counts[j], nperm))
  }
}
