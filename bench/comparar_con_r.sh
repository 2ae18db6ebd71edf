#!/usr/bin/env bash
# Whole-process comparison at 32,767 and 1,000,000 rows of a DIS table:
# kalnor-cli info (open + N) and medidas --json (every key and selector),
# against R computing the same family of measures from the CSV (read.csv
# included). Time and peak memory by /usr/bin/time -v; the best of REPS runs.
#
#   bench/comparar_con_r.sh [KALNOR_CLI] [REPS]
#
# R is optional: without Rscript its column shows "—".
set -euo pipefail

CLI=${1:-build/kalnor-cli}
REPS=${2:-3}
DIR=$(mktemp -d "${TMPDIR:-/tmp}/kalnor_comparar.XXXXXX")
trap 'rm -rf "$DIR"' EXIT

# Best elapsed seconds and peak KB over REPS runs of a command.
medir() {
    local best_t="" best_m=""
    for ((k = 0; k < REPS; k++)); do
        /usr/bin/time -v -o "$DIR/time.txt" "$@" > /dev/null 2>&1
        local t m
        t=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0;
                for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' "$DIR/time.txt")
        m=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$DIR/time.txt")
        if [[ -z $best_t ]] || awk -v a="$t" -v b="$best_t" 'BEGIN {exit !(a < b)}'; then
            best_t=$t
        fi
        if [[ -z $best_m ]] || ((m < best_m)); then best_m=$m; fi
    done
    printf '%.3f s, %d MB' "$best_t" $((best_m / 1024))
}

cat > "$DIR/medidas.R" <<'RS'
a <- commandArgs(trailingOnly = TRUE)
d <- read.csv(a[1])
x <- d$Xi; n <- d$ni; N <- sum(n)
m <- sum(x * n) / N
r <- c(m, N / sum(n / x), exp(sum(n * log(x)) / N), sqrt(sum(n * x^2) / N),
       max(x) - min(x))
for (k in 1:4) r <- c(r, sum(n * (x - m)^k) / N, sum(n * x^k) / N)
v <- sum(n * (x - m)^2) / N
r <- c(r, sqrt(v), v * N / (N - 1), sum(n * abs(x - m)) / N)
o <- order(x); xs <- x[o]; F <- cumsum(n[o])
q <- function(p) xs[which(F >= p * N)[1]]
me <- q(0.5)
r <- c(r, sum(n * abs(x - me)) / N, max(x), min(x), xs[which.max(n[o])])
for (p in c(1:3 / 4, 1:4 / 5, 1:9 / 10, 1:99 / 100)) r <- c(r, q(p))
cat(length(r), "\n")
RS

printf '| %s | %s | %s | %s |\n' "Filas" "kalnor-cli info" "kalnor-cli medidas --json" "R (read.csv + medidas)"
printf '|---|---|---|---|\n'
for filas in 32767 1000000; do
    csv="$DIR/d$filas.csv"
    awk -v n="$filas" 'BEGIN { srand(42); print "Xi,ni";
        for (i = 0; i < n; i++) printf "%d.%d,%d\n", int(rand() * 100) + 1, i % 10, int(rand() * 9) + 1 }' > "$csv"
    mdb="$DIR/d$filas.mdb"
    "$CLI" nueva DIS "$mdb" > /dev/null
    "$CLI" cargar "$mdb" "$csv" > /dev/null 2>&1
    info=$(medir "$CLI" info "$mdb")
    medidas=$(medir "$CLI" medidas "$mdb" --json)
    if command -v Rscript > /dev/null; then
        r=$(medir Rscript "$DIR/medidas.R" "$csv")
    else
        r="—"
    fi
    printf '| %s | %s | %s | %s |\n' "$filas" "$info" "$medidas" "$r"
done
