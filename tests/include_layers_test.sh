#!/usr/bin/env bash
# Every include between the source folders points down the layers: resources and core at the bottom, then
# render, document, shell and about, and app on top. An include that points up or sideways fails the test.
set -u
cd "$(dirname "$0")/../src"
declare -A rank=([resources]=0 [core]=1 [render]=2 [document]=3 [shell]=4 [about]=4 [app]=5)
bad=0
while IFS=: read -r file line text; do
  from=${file%%/*}
  to=$(sed -E 's#.*"\.\./([a-z]+)/.*#\1#' <<<"$text")
  if [ -z "${rank[$to]:-}" ] || [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
    echo "$file:$line includes upward: $text"
    bad=1
  fi
done < <(grep -rn '#include "\.\./' --include='*.h' --include='*.cpp' .  | sed 's#^\./##')
exit $bad
