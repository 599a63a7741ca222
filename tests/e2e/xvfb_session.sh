#!/usr/bin/env bash
# Runs a command inside a fresh Xvfb server, on the real X11 platform of the
# toolkit. The server picks a free display number itself, and does not
# reset when its last client leaves, so a program started right after
# another one ended never meets a server in the middle of a reset.
set -euo pipefail
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null || true; rm -f "$fdfile"' EXIT
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
[ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$fdfile")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
"$@"
