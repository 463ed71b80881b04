#!/usr/bin/env bash
# Runs the end-to-end corpus through one batch process of a command-line host and compares its
# output line for line with the expected lines.
#
#   run_corpus.sh [--exclude TAG,...] [--] HOST_COMMAND... -- CORPUS_FILE...
#   run_corpus.sh HOST_BINARY CORPUS_FILE...            (the host is HOST_BINARY batch)
#
# A corpus line is  INPUT<TAB>=><TAB>EXPECTED[<TAB>#TAG...]; blank lines and lines starting with
# "#" are skipped. Every file starts under the default control word 0x1372.
set -euo pipefail

exclude=""
if [[ "${1:-}" == "--exclude" ]]; then exclude="$2"; shift 2; fi
host=()
if [[ "${1:-}" == "--" ]]; then
  shift
  while [[ "$1" != "--" ]]; do host+=("$1"); shift; done
  shift
else
  host=("$1" batch); shift
fi
[[ $# -gt 0 ]] || { echo "run_corpus.sh: no corpus files" >&2; exit 64; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# cases.tsv: file, line, expected; batch.in: the host's input, with one @cw line per file.
awk -v exclude="$exclude" -v cases="$work/cases.tsv" -v batch="$work/batch.in" '
  BEGIN { n = split(exclude, ex, ","); for (i = 1; i <= n; i++) skip["#" ex[i]] = 1 }
  FNR == 1 { print "@cw\t0x1372" > batch; print "-\t-\t@cw" > cases }
  /^[ \t]*$/ || /^#/ { next }
  {
    split_at = index($0, "\t=>\t")
    if (split_at == 0) { printf "%s:%d: no <TAB>=><TAB> in corpus line\n", FILENAME, FNR > "/dev/stderr"; exit 70 }
    input = substr($0, 1, split_at - 1)
    expected = substr($0, split_at + 4)
    tags = ""
    t = index(expected, "\t#")
    if (t > 0) { tags = substr(expected, t + 1); expected = substr(expected, 1, t - 1) }
    nt = split(tags, tag, "\t")
    for (i = 1; i <= nt; i++) if (tag[i] in skip) next
    print input > batch
    print FILENAME "\t" FNR "\t" expected > cases
  }' "$@"

"${host[@]}" < "$work/batch.in" > "$work/batch.out" 2> "$work/batch.err" || {
  echo "run_corpus.sh: the host failed:"; cat "$work/batch.err"; exit 1; }

awk -F'\t' -v out="$work/batch.out" '
  {
    file = $1; line = $2; expected = substr($0, length($1) + length($2) + 3)
    if ((getline actual < out) <= 0) actual = "<no output>"
    if (expected == "@cw") next
    if (actual == expected) passed++
    else { failed++; printf "FAIL %s:%s\n  expected: %s\n  actual:   %s\n", file, line, expected, actual }
  }
  END { printf "corpus: %d passed, %d failed\n", passed, failed; exit failed > 0 }' "$work/cases.tsv"
