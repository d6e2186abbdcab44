#!/usr/bin/env bash
# Fails when a layer folder includes a folder above it. The layers, bottom
# to top; a folder may include its own headers and those of lower folders.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(resources core xml device locations view export app)

rank() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then echo "$i"; return; fi
  done
  echo -1
}

status=0
for folder in "${layers[@]}"; do
  own=$(rank "$folder")
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$hit")
    other=$(rank "$target")
    if [ "$other" -gt "$own" ]; then
      echo "layer violation: $file includes $target/ (above $folder/)" >&2
      status=1
    fi
  done < <(grep -rnE '^#include "[a-z]+/' "$folder" --include='*.h' --include='*.cpp' || true)
done
# The device layer talks to the data store through its cursors, not the DOM.
if grep -rlE 'pugi::|#include <pugixml' device/ 2>/dev/null; then
  echo "layer violation: device/ uses the XML library directly" >&2
  status=1
fi
exit $status
