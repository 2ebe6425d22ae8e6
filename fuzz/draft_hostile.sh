#!/usr/bin/env bash
# Writes into DIR the draft files that once crashed the program at every
# start or made it wait (each within the 4 MiB limit):
#   deep-key      an extra key nested 200,000 levels deep
#   long-name     a field named by 200,000 digits
#   many-fields   100,000 fields in a 1.2 MB draft
set -euo pipefail
dir=${1:?usage: fuzz/draft_hostile.sh DIR}
mkdir -p "$dir"
head='{"formato":"Formulario7301 borrador","version":1,"guardado_ms":1,"origen":{"modificar":false,"archivo":""},"pagina":{"filas":[0,3],"campos":{'
# yes(1) ends on SIGPIPE once head has enough: not an error here.
run() { (set +o pipefail; yes "$1" | tr -d '\n' | head -c "$2"); }
{ printf '{"x":'; run '[' 200000; run ']' 200000; printf ',%s}}}' "${head#\{}"; } >"$dir/deep-key"
{ printf '%s"f1' "$head"; run 7 200000; printf 'c1":"x"}}}'; } >"$dir/long-name"
{ printf '%s' "$head"; seq -f '"k%.0f":""' 0 99999 | paste -sd, -; printf '}}}'; } >"$dir/many-fields"
