#!/usr/bin/env bash
# Prints what ships beside the program: per language the sentences the program will find and
# their length distribution, per sound theme the files with their durations and levels.
# Usage: tools/content_report.sh PROGRAM_DIR [DACTYLA_TEXT]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program_dir=${1:?usage: content_report.sh PROGRAM_DIR [DACTYLA_TEXT]}
dactyla_text=${2:-$program_dir/dactyla-text}

for language in Rus Eng; do
  lang=$([ $language = Rus ] && echo ru || echo en)
  echo "== TextData.$language =="
  "$dactyla_text" check "$program_dir/TextData.$language" --lang $lang | awk -F'\t' '
    NR == 1 { print; next }
    NF >= 3 { bucket = int($2 / 10) * 10; count[bucket]++; total++; sum += $2 }
    END {
      for (b = 10; b <= 120; b += 10) if (count[b]) printf "  length %3d-%3d: %5d  %s\n", b, b + 9, count[b], bar(count[b] * 60 / total)
      printf "  mean length %.1f\n", sum / total
    }
    function bar(n,   s) { s = ""; while (n-- > 0.5) s = s "#"; return s }'
done
echo "== Sound =="
python3 "$here/sounds/make_sounds.py" --report "$program_dir/Sound"
