#!/usr/bin/env bash
# Installs what is missing, builds, fills a demo data folder and opens the
# program on it. The demo keeps its settings in demo/config, so the user's
# own settings stay untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

demo="$PWD/demo"
mkdir -p "$demo/config"
if [ ! -f "$demo/Main.xml" ]; then
  cp resources/demo/Main.xml "$demo/Main.xml"
fi
if [ ! -f "$demo/Result.xml" ]; then
  cp resources/demo/Result.xml "$demo/Result.xml"
fi
export XDG_CONFIG_HOME="$demo/config"
mkdir -p "$XDG_CONFIG_HOME/KOLT GmbH"
conf="$XDG_CONFIG_HOME/KOLT GmbH/Qarda.conf"
if [ ! -f "$conf" ]; then
  printf '[Settings]\nMainFile=%s\nResultFile=%s\nLangID=1031\n' "$demo/Main.xml" "$demo/Result.xml" > "$conf"
fi

if [ -x build/bin/px900-sim ]; then
  # Read the bundled virtual PX900 out into the demo result file.
  coproc SIM { exec build/bin/px900-sim --demo 2>/dev/null; }
  read -r port <&"${SIM[0]}"
  build/bin/qarda --readout --port="$port" --timeout=5000 || echo "demo readout failed" >&2
  kill "$SIM_PID" 2>/dev/null || true
  wait "$SIM_PID" 2>/dev/null || true
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the program under Xvfb." >&2
  exec xvfb-run -a build/bin/qarda "$@"
fi
exec build/bin/qarda "$@"
