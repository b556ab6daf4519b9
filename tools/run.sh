#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo workspace (./demo) when missing and starts
# the workstation on it. The demo has its own settings (demo/config); a real installation's
# settings are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default
cmake --build --preset default
build/tools/demo/tovane-make-demo demo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display is available. Start the workstation in a virtual display with:" >&2
  echo "  xvfb-run -a -s '-screen 0 1280x900x24' tools/run.sh" >&2
  exit 1
fi
export TOVANE_PROGRAM_DIR="$PWD/demo/program"
export XDG_CONFIG_HOME="$PWD/demo/config"
exec build/src/app/tovanefile "$@"
