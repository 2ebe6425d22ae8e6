#!/usr/bin/env bash
# Writes into DIR the texts that made the XML reader take minutes when its
# search for a closing tag was not linear, each 8.3 MB (a little above the
# largest declaration XML a file under the read limit holds):
#   near-matches  a tag named by a long run of "</", then "</" to the end
#   closing       nothing but "</"
#   nested        64 nested elements around a content of "<"
set -euo pipefail
dir=${1:?usage: fuzz/hostile.sh DIR}
bytes=8300000
mkdir -p "$dir"
# yes(1) ends on SIGPIPE once head has enough: not an error here.
run() { (set +o pipefail; yes "$1" | tr -d '\n' | head -c "$2"); }
{ printf '<'; run '</' $((bytes / 4)); printf '<>'; run '</' $((bytes - bytes / 4 - 3)); } \
  >"$dir/near-matches"
run '</' "$bytes" >"$dir/closing"
{
  for i in $(seq 0 63); do printf '<E%d>' "$i"; done
  run '<' $((bytes - 1000))
  for i in $(seq 63 -1 0); do printf '</E%d>' "$i"; done
} >"$dir/nested"
